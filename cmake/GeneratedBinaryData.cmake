# Embeds files that the build itself makes or copies, with JUCE's binary-data tool (juce_add_binary_data wants
# its files when CMake configures). RESOURCES lists pairs of a resource number (or - for none) and a file; the tool names each
# array after its file, and ALIAS_HEADER gives every array its number as well: <NAMESPACE>::temp_binary_data_<N>
# and temp_binary_data_<N>Size. The tool's own internal arrays are called temp_binary_data_<position>, which is
# why the numbers live in a header of their own.
function (vu418d_add_numbered_binary_data target)
    cmake_parse_arguments (ARG "" "NAMESPACE;HEADER_NAME;ALIAS_HEADER" "RESOURCES" ${ARGN})

    set (folder "${CMAKE_CURRENT_BINARY_DIR}/${target}")
    set (files)
    set (aliases)
    set (resources ${ARG_RESOURCES})

    while (resources)
        list (POP_FRONT resources number file)
        list (APPEND files "${file}")
        get_filename_component (file_name "${file}" NAME)
        string (MAKE_C_IDENTIFIER "${file_name}" array)

        if (NOT number STREQUAL "-")
            string (APPEND aliases
                "inline const char* const& temp_binary_data_${number} = ${array};\n"
                "constexpr int temp_binary_data_${number}Size = ${array}Size;\n")
        endif()
    endwhile()

    set (outputs "${folder}/${ARG_HEADER_NAME}")
    list (LENGTH files count)

    foreach (index RANGE 1 ${count})
        list (APPEND outputs "${folder}/BinaryData${index}.cpp")
    endforeach()

    string (REPLACE ";" "\n" file_list "${files}")
    file (WRITE "${folder}/input_file_list" "${file_list}\n")

    add_custom_command (OUTPUT ${outputs}
        COMMAND juce::juceaide binarydata "${ARG_NAMESPACE}" "${ARG_HEADER_NAME}" "${folder}" "${folder}/input_file_list"
        DEPENDS ${files} "${folder}/input_file_list"
        VERBATIM)

    file (CONFIGURE OUTPUT "${folder}/${ARG_ALIAS_HEADER}" CONTENT
"#pragma once

#include \"${ARG_HEADER_NAME}\"

namespace ${ARG_NAMESPACE}
{
@aliases@} // namespace ${ARG_NAMESPACE}
")

    add_library (${target} STATIC ${outputs})
    set_target_properties (${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_include_directories (${target} INTERFACE "${folder}")
endfunction()

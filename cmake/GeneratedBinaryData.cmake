# Embeds files that the build itself makes, the way juce_add_binary_data embeds files that exist when CMake
# configures: one C++ array per file in namespace NAMESPACE, named after the file, declared in HEADER_NAME.
function (vu418d_add_generated_binary_data target)
    cmake_parse_arguments (ARG "" "NAMESPACE;HEADER_NAME" "SOURCES" ${ARGN})

    set (folder "${CMAKE_CURRENT_BINARY_DIR}/${target}")
    set (outputs "${folder}/${ARG_HEADER_NAME}")
    list (LENGTH ARG_SOURCES count)

    foreach (index RANGE 1 ${count})
        list (APPEND outputs "${folder}/BinaryData${index}.cpp")
    endforeach()

    string (REPLACE ";" "\n" file_list "${ARG_SOURCES}")
    file (WRITE "${folder}/input_file_list" "${file_list}\n")

    add_custom_command (OUTPUT ${outputs}
        COMMAND juce::juceaide binarydata "${ARG_NAMESPACE}" "${ARG_HEADER_NAME}" "${folder}" "${folder}/input_file_list"
        DEPENDS ${ARG_SOURCES} "${folder}/input_file_list"
        VERBATIM)

    add_library (${target} STATIC ${outputs})
    set_target_properties (${target} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_include_directories (${target} INTERFACE "${folder}")
endfunction()

# The project's own code builds without a warning under g++ and clang. VU418D_WARNINGS_AS_ERRORS makes any new one
# an error; the test scripts, and so CI, turn it on. It is off by default, so that a compiler the project is not
# checked with cannot stop a plain build.
option (VU418D_WARNINGS_AS_ERRORS "Make compiler warnings in the project's own code errors" OFF)

add_library (vu418d_warnings_as_errors INTERFACE)

if (VU418D_WARNINGS_AS_ERRORS)
    target_compile_options (vu418d_warnings_as_errors INTERFACE -Werror)
endif()

# The warning set of the project's JUCE-based code.
add_library (vu418d_warning_flags INTERFACE)
target_link_libraries (vu418d_warning_flags INTERFACE juce::juce_recommended_warning_flags vu418d_warnings_as_errors)

# Gives a target the project's warning set. JUCE compiles its module units (juce_core.cpp and the like) as sources
# of every target that uses the modules; their warnings, and those of JUCE's headers seen through them, are the
# framework's, so those units are compiled without any. Our own modules (cv_core, ...) are not under JUCE's folder
# and stay warned.
function (vu418d_use_warning_flags target scope)
    target_link_libraries (${target} ${scope} vu418d_warning_flags)
    file (GLOB framework_units "${JUCE_MODULES_DIR}/*/*.cpp")
    set_source_files_properties (${framework_units} TARGET_DIRECTORY ${target} PROPERTIES COMPILE_OPTIONS -w)
endfunction()

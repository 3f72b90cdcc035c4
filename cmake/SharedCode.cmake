# Links a tool of the project (tests, benchmarks, fuzz targets, hosts) against the plug-in's shared-code
# library, so the framework is compiled once and every tool sees the plug-in's own configuration.
function (vu418d_use_shared_code target)
    target_link_libraries (${target} PRIVATE Vu418dZuzo)
    target_include_directories (${target} PRIVATE
        $<TARGET_PROPERTY:cv_core,INTERFACE_INCLUDE_DIRECTORIES>
        $<TARGET_PROPERTY:juce::juce_audio_utils,INTERFACE_INCLUDE_DIRECTORIES>)
endfunction()

# A sanitizer build: -DVU418D_SANITIZERS=address,undefined (any list -fsanitize takes). The flags apply to every
# target configured after this file is included, so the shared code, and JUCE compiled into it, is instrumented
# together with the tests, benchmarks and fuzz targets that link it.
set (VU418D_SANITIZERS "" CACHE STRING "Sanitizers to build with, as a -fsanitize list (e.g. address,undefined)")

if (VU418D_SANITIZERS)
    # Every report stops the process, so a test or fuzz run that triggers one fails whatever the runtime options.
    add_compile_options (-fsanitize=${VU418D_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options (-fsanitize=${VU418D_SANITIZERS})
endif()

# The toolchain of the Windows presets: MinGW-w64 (mingw-toolchain.cmake, which Qt for Windows is
# built with too), against the Qt and HarfBuzz for Windows that scripts/setup-windows prepares.
include(${CMAKE_CURRENT_LIST_DIR}/windows-prerequisites.cmake)
list(APPEND CMAKE_PREFIX_PATH ${KESTRIX_QT_WINDOWS} ${KESTRIX_HARFBUZZ_WINDOWS})
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
# CTest runs the tests through Wine, starting once more only a run that Wine failed to start.
get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR
                       ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows/run-in-wine ABSOLUTE)

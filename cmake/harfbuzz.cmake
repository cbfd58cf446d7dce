# HarfBuzz, which the font reader shapes its samples with, as the target kestrix_harfbuzz: Debian's
# own library on Linux; for Windows the static build that scripts/setup-windows makes from
# Debian's source, found through CMAKE_PREFIX_PATH.
add_library(kestrix_harfbuzz INTERFACE)
if(WIN32)
    find_path(HARFBUZZ_INCLUDE_DIR hb.h PATH_SUFFIXES include/harfbuzz REQUIRED)
    find_library(HARFBUZZ_LIBRARY NAMES libharfbuzz.a harfbuzz REQUIRED)
    target_include_directories(kestrix_harfbuzz SYSTEM INTERFACE ${HARFBUZZ_INCLUDE_DIR})
    target_link_libraries(kestrix_harfbuzz INTERFACE ${HARFBUZZ_LIBRARY})
else()
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(HARFBUZZ REQUIRED IMPORTED_TARGET harfbuzz)
    target_link_libraries(kestrix_harfbuzz INTERFACE PkgConfig::HARFBUZZ)
endif()

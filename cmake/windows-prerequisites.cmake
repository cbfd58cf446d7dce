# Where scripts/setup-windows keeps Qt and HarfBuzz for Windows: outside the work tree, so that
# clones and clean builds share them. Included by the Windows presets' toolchain; run as a script
# (cmake -P), it prints the same folders as shell assignments for the Windows scripts.
if(DEFINED ENV{KESTRIX_CACHE})
    set(KESTRIX_WINDOWS_CACHE "$ENV{KESTRIX_CACHE}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(KESTRIX_WINDOWS_CACHE "$ENV{XDG_CACHE_HOME}/kestrix")
else()
    set(KESTRIX_WINDOWS_CACHE "$ENV{HOME}/.cache/kestrix")
endif()
set(KESTRIX_QT_WINDOWS_VERSION 6.4.2)
set(KESTRIX_QT_WINDOWS "${KESTRIX_WINDOWS_CACHE}/qt6-mingw-${KESTRIX_QT_WINDOWS_VERSION}")
# Built from Debian's harfbuzz source (Qt keeps a copy of its own inside its DLLs).
set(KESTRIX_HARFBUZZ_WINDOWS "${KESTRIX_WINDOWS_CACHE}/harfbuzz-mingw-6.0.0")

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "cache='${KESTRIX_WINDOWS_CACHE}' \
qt_version='${KESTRIX_QT_WINDOWS_VERSION}' qt_windows='${KESTRIX_QT_WINDOWS}' \
harfbuzz_windows='${KESTRIX_HARFBUZZ_WINDOWS}'")
endif()

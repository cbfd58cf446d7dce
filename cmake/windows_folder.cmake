# Lays out, beside a Windows program, what it needs to run from its folder as it is: the Qt
# DLLs it links, the platform plugins (windows for the screen, offscreen for runs without one)
# and MinGW's runtime DLLs.

set(mingw_runtime_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        # Debian keeps libwinpthread beside the MinGW libraries, outside gcc's own folders.
        find_file(found NAMES ${dll} PATHS /usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32/lib
                  NO_DEFAULT_PATH NO_CACHE)
    endif()
    if(NOT found)
        message(FATAL_ERROR "MinGW's runtime ${dll} was not found")
    endif()
    list(APPEND mingw_runtime_dlls "${found}")
endforeach()

function(kestrix_windows_folder target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                $<TARGET_RUNTIME_DLLS:${target}> ${mingw_runtime_dlls} $<TARGET_FILE_DIR:${target}>
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>/platforms
        COMMAND ${CMAKE_COMMAND} -E copy_if_different
                $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>
                $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
                $<TARGET_FILE_DIR:${target}>/platforms
        COMMAND_EXPAND_LISTS)
endfunction()

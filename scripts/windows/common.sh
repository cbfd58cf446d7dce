# What the Windows scripts share: where Qt for Windows is kept, how the cross build is
# configured, and a Wine prefix of the build's own. Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# cache, qt_version, qt_windows, harfbuzz_windows: where Qt and HarfBuzz for Windows are kept,
# as the Windows presets find them.
eval "$(cmake -P "$root/cmake/windows-prerequisites.cmake")"

# configure_windows: configures the Windows build (the windows preset) in build/windows, once
# scripts/setup-windows has prepared what it needs.
configure_windows() {
    local prepared
    for prepared in "$qt_windows" "$harfbuzz_windows"; do
        if [[ ! -f $prepared/.ready ]]; then
            echo "$prepared is not there: run scripts/setup-windows first" >&2
            return 1
        fi
    done
    (cd "$root" && cmake --preset windows >/dev/null)
}

# Wine, quiet, in a prefix of the build's own; no Mono or Gecko installers.
use_wine_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [[ ! -f $WINEPREFIX/system.reg ]]; then
        mkdir -p "$WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

# Runs the Windows programs that follow under Wine in a fresh prefix of their own, with one
# wineserver kept running (each program then starts in a fraction of a second, not seconds), the
# DLLs of Qt and MinGW found where they are (and Qt's plugins beside them), and Qt told what Wine
# hands on: it leaves out every QT_ variable, and passes WINEQT_X on as QT_X. Offscreen has no
# fonts of its own: Wine's (Tahoma among them) stand in for Windows' own.
start_wine() {
    rm -rf "$1"
    use_wine_prefix "$1"
    wineserver -k 2>/dev/null || true
    wineserver -p >/dev/null 2>&1
    trap 'wineserver -k' EXIT
    export WINEQT_QPA_PLATFORM=offscreen WINEQT_FORCE_STDERR_LOGGING=1
    WINEQT_QPA_FONTDIR=$(winepath -w /usr/share/wine/fonts)
    local mingw_runtime
    mingw_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
    WINEPATH=$(for folder in "$qt_windows/bin" "$mingw_runtime" /usr/x86_64-w64-mingw32/lib; do
        winepath -w "$folder"
    done | paste -sd';')
    export WINEQT_QPA_FONTDIR WINEPATH
}

# The version CMake gives the programs, from the Windows build folder scripts/build-windows
# configures.
built_version() {
    cat "$root/build/windows/version.txt" 2>/dev/null ||
        { echo "build/windows is not configured: run scripts/build-windows first" >&2; return 1; }
}

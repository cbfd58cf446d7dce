# What the Windows scripts share: where Qt for Windows is kept, how the cross build is
# configured, and a Wine prefix of the build's own. Sourced, not run.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
qt_version=6.4.2
# Outside the work tree, so that clones and clean builds share it.
cache=${KESTRIX_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kestrix}
qt_windows="$cache/qt6-mingw-$qt_version"
# HarfBuzz, which the font reader shapes with, built from Debian's source (Qt keeps its own copy
# inside its DLLs).
harfbuzz_windows="$cache/harfbuzz-mingw-6.0.0"
toolchain="$root/cmake/mingw-toolchain.cmake"

# configure_windows BUILD_FOLDER [CMAKE ARGUMENTS...]
configure_windows() {
    local build=$1
    shift
    local prepared
    for prepared in "$qt_windows" "$harfbuzz_windows"; do
        if [[ ! -f $prepared/.ready ]]; then
            echo "$prepared is not there: run scripts/setup-windows first" >&2
            return 1
        fi
    done
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_PREFIX_PATH="$qt_windows;$harfbuzz_windows" -DQT_HOST_PATH=/usr \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "$@" >/dev/null
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

# The version written in the top CMakeLists.txt, the one every part takes.
project_version() {
    sed -n 's/^project(Kestrix VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt"
}

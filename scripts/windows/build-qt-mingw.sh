#!/bin/bash
# Cross-build Debian's qt6-base 6.4.2 for Windows x86_64 with MinGW-w64 (posix
# threads) on Debian 12, using the host Qt 6.4.2 in /usr for moc/rcc/uic.
#
#   build-qt-mingw.sh [all|deps|source|configure|build|install|package]
#
# Idempotent: every phase is skipped when its result is already there
# (delete the stamp / directory to force a phase again).
# All heavy commands run under "nice -n 19".
set -euo pipefail

HERE=$(cd "$(dirname "$0")" && pwd)
TOP=${TOP:-${XDG_CACHE_HOME:-$HOME/.cache}/qt6-mingw-build}
SRCPKG=${SRCPKG:-$TOP/srcpkg}            # where the .orig.tar.xz / .debian.tar.xz are (fetched when missing)
PREFIX=${PREFIX:-$TOP/qt6-mingw}
JOBS=${JOBS:-2}
QTVER=6.4.2
SRC=$TOP/src/qtbase-everywhere-src-$QTVER
BUILD=$TOP/build
TOOLCHAIN=${TOOLCHAIN:-$HERE/../../cmake/mingw-toolchain.cmake}
TIMINGS=$TOP/timings.txt
NICE="nice -n 19"

log() { echo "[$(date +%H:%M:%S)] $*"; }
# timed <label> <command...>: run and append the wall-clock seconds to $TIMINGS
timed() {
    local label=$1; shift
    local t0; t0=$(date +%s.%N)
    "$@"
    local t1; t1=$(date +%s.%N)
    printf '%-10s %8.1f s   (%s)\n' "$label" "$(awk -v a="$t0" -v b="$t1" 'BEGIN{print b-a}')" "$(date -Is)" | tee -a "$TIMINGS"
}

phase_deps() {
    local pkgs="g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
                wine64 wine cmake ninja-build perl xz-utils patch qt6-base-dev qt6-base-dev-tools
                xvfb imagemagick"
    local missing=""
    for p in $pkgs; do dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"; done
    if [ -n "$missing" ]; then
        log "apt-get install$missing"
        DEBIAN_FRONTEND=noninteractive $NICE apt-get install -y $missing
    fi
    # Make the unsuffixed names point at the posix thread model (only matters
    # if the win32 variants are installed too; the toolchain file uses -posix anyway).
    for t in gcc g++; do
        if [ -e /usr/bin/x86_64-w64-mingw32-$t-posix ]; then
            update-alternatives --set x86_64-w64-mingw32-$t /usr/bin/x86_64-w64-mingw32-$t-posix >/dev/null 2>&1 || true
        fi
    done
    x86_64-w64-mingw32-g++-posix -v 2>&1 | grep -q 'Thread model: posix'
    [ -f "$TOOLCHAIN" ] || { echo "missing $TOOLCHAIN"; exit 1; }
}

# Debian's source package of qt6-base 6.4.2, through apt (a deb-src entry is added when none is there).
fetch_source() {
    ls "$SRCPKG"/qt6-base_${QTVER}+dfsg.orig.tar.xz >/dev/null 2>&1 && return
    mkdir -p "$SRCPKG"
    # The same archives the machine installs from, for sources too.
    "$HERE/add-source-entries"
    (cd "$SRCPKG" && { apt-get source --download-only "qt6-base=${QTVER}+dfsg-10" ||
        { apt-get update -qq && apt-get source --download-only "qt6-base=${QTVER}+dfsg-10"; }; })
}

phase_source() {
    fetch_source
    mkdir -p "$TOP/src"
    if [ ! -f "$SRC/.extracted" ]; then
        log "extracting source"
        rm -rf "$SRC" "$TOP/src/debian"
        (cd "$TOP/src" && $NICE tar xf "$SRCPKG"/qt6-base_${QTVER}+dfsg.orig.tar.xz \
                       && $NICE tar xf "$SRCPKG"/qt6-base_${QTVER}+dfsg-*.debian.tar.xz)
        touch "$SRC/.extracted"
    fi
    if [ ! -f "$SRC/.patched" ]; then
        # Debian's series minus cross.patch (it is for Debian's own cross builds:
        # keeps host pkg-config and would build androiddeployqt.exe).
        # The rest are CVE fixes + harmless (HPPA/M68k detection, armel, zstd, docs).
        log "applying Debian patches"
        grep -v -e '^#' -e '^$' "$TOP/src/debian/patches/series" | while read -r p; do
            [ "$p" = cross.patch ] && { echo "  skip $p"; continue; }
            echo "  apply $p"
            patch -d "$SRC" -p1 -s -N < "$TOP/src/debian/patches/$p"
        done
        touch "$SRC/.patched"
    fi
    # The +dfsg tarball drops src/3rdparty/wintab (Wacom WinTab headers), which
    # the qwindows platform plugin includes (wintab.h, pktdef.h) for QTabletEvent.
    # Wine ships LGPL re-implementations of both headers in libwine-dev; take
    # them from the .deb without installing it.
    # Wine's wintab.h uses Wine-only macros (DECL_WINELIB_TYPE_AW, WINELIB_NAME_AW)
    # and lacks the "API" calling-convention macro that Wacom's header defines and
    # qwindowstabletsupport.h uses, so it is wrapped by a small shim wintab.h.
    local wt=$SRC/src/3rdparty/wintab
    if [ ! -f "$wt/wine-wintab.h" ] || [ ! -f "$wt/pktdef.h" ] || [ ! -f "$wt/wintab.h" ]; then
        log "supplying wintab.h/pktdef.h from Debian's libwine-dev"
        local d; d=$(mktemp -d)
        (cd "$d" && apt-get download libwine-dev >/dev/null 2>&1 && dpkg-deb -x libwine-dev_*.deb x)
        mkdir -p "$wt"
        cp "$d"/x/usr/include/wine/wine/windows/wintab.h "$wt/wine-wintab.h"
        cp "$d"/x/usr/include/wine/wine/windows/pktdef.h "$wt/pktdef.h"
        rm -rf "$d"
        cat > "$wt/wintab.h" <<'SHIM'
/* Shim: Debian's qt6-base +dfsg tarball drops Wacom's wintab headers.
 * Use Wine's LGPL-2.1+ wintab.h (from libwine-dev) with the few macros it
 * expects from Wine's own windef.h, plus Wacom's "API" macro used by Qt. */
#ifndef QT_WINTAB_SHIM_H
#define QT_WINTAB_SHIM_H
#include <windows.h>
#ifndef WINELIB_NAME_AW
#  ifdef UNICODE
#    define WINELIB_NAME_AW(name) name##W
#  else
#    define WINELIB_NAME_AW(name) name##A
#  endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
#  define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#ifndef API
#  define API WINAPI
#endif
#include "wine-wintab.h"
#endif
SHIM
    fi
}

# Configure options. Notes:
#  * -xplatform/-device-option only select the qmake mkspec written into the
#    installed Qt; the compilers come from the CMake toolchain file.
#  * QT_HOST_PATH_CMAKE_DIR is needed because Debian's host Qt keeps its CMake
#    packages in /usr/lib/x86_64-linux-gnu/cmake, which find_package(Qt6HostInfo
#    PATHS /usr) does not search when the target (mingw) has no multiarch dir.
#  * Direct2D must stay enabled: in 6.4.2 the DirectWrite font engine and the
#    DirectWrite font database in QtGui are only compiled with direct2d, but the
#    qwindows plugin references QWindowsDirectWriteFontDatabase whenever
#    directwrite3 is on -> with -no-feature-direct2d, qwindows.dll fails to link.
#    (It also builds the extra platforms/qdirect2d.dll plugin; not needed at runtime.)
QT_CONFIGURE_ARGS=(
    -prefix "$PREFIX"
    -release -shared
    -xplatform win32-g++
    -device-option CROSS_COMPILE=x86_64-w64-mingw32-
    -qt-host-path /usr
    -nomake examples -nomake tests
    -no-pkg-config
    -no-opengl -no-dbus
    -no-feature-sql -no-feature-concurrent -no-feature-xml -no-feature-printsupport
    -no-feature-vulkan
    -qt-zlib -qt-pcre -qt-harfbuzz -qt-freetype -qt-libpng -qt-libjpeg
    -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN"
       -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)

phase_configure() {
    local want; want=$(printf '%s\n' "${QT_CONFIGURE_ARGS[@]}")
    if [ -f "$BUILD/build.ninja" ] && [ -f "$BUILD/.configured" ] \
       && [ "$(cat "$BUILD/.configured")" = "$want" ]; then
        log "already configured ($BUILD)"; return
    fi
    # fresh configure (a changed feature set is safest from an empty build dir)
    rm -rf "$BUILD"; mkdir -p "$BUILD"
    log "configure"
    cd "$BUILD"
    timed configure $NICE "$SRC/configure" "${QT_CONFIGURE_ARGS[@]}" 2>&1 | tee "$TOP/configure.log"
    [ -f "$BUILD/build.ninja" ]
    printf '%s\n' "$want" > "$BUILD/.configured"
}

phase_build() {
    cd "$BUILD"
    if [ -f "$BUILD/.built" ] && $NICE ninja -n 2>/dev/null | grep -q '^ninja: no work to do'; then
        log "already built"; return
    fi
    log "build (ninja -j$JOBS)"
    timed build $NICE ninja -j"$JOBS" 2>&1 | tee "$TOP/build.log"
    [ "${PIPESTATUS[0]}" = 0 ] || exit 1
    touch "$BUILD/.built"
}

phase_install() {
    cd "$BUILD"
    if [ -f "$PREFIX/.installed" ] && [ "$PREFIX/.installed" -nt "$BUILD/.built" ]; then
        log "already installed in $PREFIX"; return
    fi
    log "install to $PREFIX"
    timed install $NICE cmake --install . > "$TOP/install.log" 2>&1
    touch "$PREFIX/.installed"
}

phase_package() {
    log "sizes"
    du -sh "$PREFIX" | tee "$TOP/sizes.txt"
    du -sb "$PREFIX" >> "$TOP/sizes.txt"
    local tarball=$TOP/qt6-mingw-$QTVER.tar.xz
    if [ ! -f "$tarball" ] || [ "$PREFIX/.installed" -nt "$tarball" ]; then
        timed tar-cJf $NICE tar -C "$(dirname "$PREFIX")" -cJf "$tarball" "$(basename "$PREFIX")"
    fi
    ls -l "$tarball" | tee -a "$TOP/sizes.txt"
}

what=${1:-all}
case $what in
    all) phase_deps; phase_source; phase_configure; phase_build; phase_install; phase_package ;;
    deps|source|configure|build|install|package) phase_$what ;;
    *) echo "usage: $0 [all|deps|source|configure|build|install|package]"; exit 2 ;;
esac

#!/usr/bin/env bash
# Builds HarfBuzz for 64-bit Windows with Debian's MinGW-w64 from Debian's own harfbuzz source
# package, the version the Linux build links: a static library and its headers under PREFIX.
# The font reader shapes its samples with it. Needs root for apt (a deb-src entry is added
# beside the machine's deb entries when there is none).
set -euo pipefail
prefix=$1
version=6.0.0
package="harfbuzz=$version+dfsg-3"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$(dirname "$0")/add-source-entries"
(cd "$work" && apt-get source --download-only "$package" >/dev/null 2>&1 ||
    { apt-get update -qq && apt-get source --download-only "$package" >/dev/null; })
tar -C "$work" -xJf "$work"/harfbuzz_$version+dfsg.orig.tar.xz
source_folder="$work/harfbuzz-$version"

# One translation unit holds the whole library.
built="$work/built"
mkdir -p "$built/lib" "$built/include/harfbuzz"
x86_64-w64-mingw32-g++-posix -std=c++11 -O2 -fno-exceptions -fno-rtti -w \
    -c "$source_folder/src/harfbuzz.cc" -o "$work/harfbuzz.o"
x86_64-w64-mingw32-ar rcs "$built/lib/libharfbuzz.a" "$work/harfbuzz.o"
cp "$source_folder"/src/hb.h "$source_folder"/src/hb-*.h "$built/include/harfbuzz/"
cp "$source_folder/COPYING" "$built/"
rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"
mv "$built" "$prefix"
touch "$prefix/.ready"

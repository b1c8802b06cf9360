#!/usr/bin/env bash
# Builds and runs the two consumer projects the way other projects use this library:
#   find_package      against a `cmake --install` of the package preset into a temporary
#                     prefix; the same source is then built once more with pkg-config
#   add_subdirectory  with this source tree as a subdirectory
# Each consumer checks its own class on the reference host; any failure stops the script.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
jobs=${JOBS:-2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Configure output only matters when it fails; build output is always shown.
quietly() {
    if ! "$@" >"$work/log" 2>&1; then
        cat "$work/log"
        echo "== failed: $*" >&2
        return 1
    fi
}
passed=0

echo "== package: build and install into a temporary prefix"
prefix=$work/prefix
(cd "$root" && quietly cmake --preset package)
cmake --build "$root/build/package" -j "$jobs"
quietly cmake --install "$root/build/package" --prefix "$prefix"
libdir=$(dirname "$(find "$prefix" -name 'liborrery_convenience.so' | head -n 1)")
for lib in orrery_convenience orrery_reference_host; do
    soname=$(objdump -p "$libdir/lib$lib.so" | awk '$1 == "SONAME" {print $2}')
    case "$soname" in
        lib$lib.so.[0-9]*) echo "   $soname" ;;
        *) echo "lib$lib.so has no versioned SONAME (found '$soname')" >&2; exit 1 ;;
    esac
done
if [ -e "$prefix/include/orrery/host/reference/detail" ]; then
    echo "the reference host's internals were installed" >&2
    exit 1
fi

echo "== find_package consumer"
quietly cmake -S "$here/find_package" -B "$work/find_package" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$work/find_package" -j "$jobs"
"$work/find_package/shop_item"
passed=$((passed + 1))

echo "== pkg-config consumer (the find_package consumer's source)"
export PKG_CONFIG_PATH=$libdir/pkgconfig
read -r -a flags <<<"$(pkg-config --cflags --libs orrery_convenience)"
g++ -std=c++20 -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion -Werror "$here/find_package/main.cpp" \
    "${flags[@]}" -Wl,-rpath,"$(pkg-config --variable=libdir orrery_convenience)" -o "$work/shop_item_pc"
"$work/shop_item_pc"
passed=$((passed + 1))

echo "== add_subdirectory consumer"
quietly cmake -S "$here/add_subdirectory" -B "$work/add_subdirectory" -G Ninja -DORRERY_SOURCE_DIR="$root"
cmake --build "$work/add_subdirectory" -j "$jobs"
"$work/add_subdirectory/tally"
passed=$((passed + 1))

echo "consumers: $passed passed, 0 failed"

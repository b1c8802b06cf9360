#!/usr/bin/env bash
# Builds and runs the consumer projects the way other projects use this library:
#   find_package      against a `cmake --install` of the package preset into a temporary
#                     prefix; the same source is then built once more with pkg-config
#   boost             every public header and Boost.ProgramOptions in one program, against
#                     the same prefix
#   plugin template   examples/plugin-template, against the same prefix: its plugin, its
#                     tests with the test kit, and the installed inspector on the plugin
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
# The package is relocatable and stands alone: no link out of the prefix, and no path of
# the build machine's Boost (or anything else under /usr) recorded in it.
outside=$(find "$prefix" -type l -lname '/*' -printf '%p -> %l\n')
if [ -n "$outside" ]; then
    echo "the install links out of its prefix:" >&2
    echo "$outside" >&2
    exit 1
fi
if grep -rIl -e '/usr/include' -e "$root" "$prefix/lib" "$prefix/share" 2>/dev/null; then
    echo "the files above record a path of the build machine" >&2
    exit 1
fi
"$prefix/bin/orrery-inspect" --version

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

echo "== Boost.ProgramOptions consumer (every public header)"
quietly cmake -S "$here/boost_program_options" -B "$work/boost" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$work/boost" -j "$jobs"
"$work/boost/boost_consumer" --watts 75
passed=$((passed + 1))

echo "== plugin template (examples/plugin-template): build, test, inspect"
quietly cmake -S "$root/examples/plugin-template" -B "$work/plugin-template" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
cmake --build "$work/plugin-template" -j "$jobs"
ctest --test-dir "$work/plugin-template" --output-on-failure -j "$jobs"
if ! ctest --test-dir "$work/plugin-template" -N | grep -q garden_inspect; then
    echo "the plugin template has no inspection step: the installed package lacks orrery::inspect" >&2
    exit 1
fi
passed=$((passed + 1))

echo "== add_subdirectory consumer"
quietly cmake -S "$here/add_subdirectory" -B "$work/add_subdirectory" -G Ninja -DORRERY_SOURCE_DIR="$root"
cmake --build "$work/add_subdirectory" -j "$jobs"
"$work/add_subdirectory/tally"
passed=$((passed + 1))

echo "consumers: $passed passed, 0 failed"

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
declare -A pids
# Consumers still running when one fails are stopped, each with its compilers (job
# control gives every consumer a process group of its own), before their files go.
set -m
cleanup() {
    for pid in "${pids[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
    wait
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Configure output only matters when it fails; build output is always shown.
quietly() {
    local log=$work/quietly.$BASHPID.log
    if ! "$@" >"$log" 2>&1; then
        cat "$log"
        echo "== failed: $*" >&2
        return 1
    fi
}

# Each consumer runs in the background with its output in a log of its own, shown whole
# when it is done: while one configures or links, another compiles, so that both cores
# stay busy. They report in a fixed order; the first failure stops the script.
start() {
    ("$1") >"$work/$1.log" 2>&1 &
    pids[$1]=$!
}
finish() {
    local status=0
    wait "${pids[$1]}" || status=$?
    unset "pids[$1]"
    cat "$work/$1.log"
    if [ "$status" -ne 0 ]; then
        echo "== $1 failed" >&2
        exit 1
    fi
}

prefix=$work/prefix
package() {
    echo "== package: build and install into a temporary prefix"
    (cd "$root" && quietly cmake --preset package)
    cmake --build "$root/build/package" -j "$jobs"
    quietly cmake --install "$root/build/package" --prefix "$prefix"
    local libdir
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
}

find_package_consumer() {
    echo "== find_package consumer"
    quietly cmake -S "$here/find_package" -B "$work/find_package" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
    cmake --build "$work/find_package" -j "$jobs"
    "$work/find_package/shop_item"
}

pkg_config_consumer() {
    echo "== pkg-config consumer (the find_package consumer's source)"
    local libdir
    libdir=$(dirname "$(find "$prefix" -name 'liborrery_convenience.so' | head -n 1)")
    export PKG_CONFIG_PATH=$libdir/pkgconfig
    read -r -a flags <<<"$(pkg-config --cflags --libs orrery_convenience)"
    g++ -std=c++20 -Wall -Wextra -Wshadow -Wconversion -Wsign-conversion -Werror "$here/find_package/main.cpp" \
        "${flags[@]}" -Wl,-rpath,"$(pkg-config --variable=libdir orrery_convenience)" -o "$work/shop_item_pc"
    "$work/shop_item_pc"
}

boost_consumer() {
    echo "== Boost.ProgramOptions consumer (every public header)"
    quietly cmake -S "$here/boost_program_options" -B "$work/boost" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
    cmake --build "$work/boost" -j "$jobs"
    "$work/boost/boost_consumer" --watts 75
}

plugin_template() {
    echo "== plugin template (examples/plugin-template): build, test, inspect"
    quietly cmake -S "$root/examples/plugin-template" -B "$work/plugin-template" -G Ninja -DCMAKE_PREFIX_PATH="$prefix"
    cmake --build "$work/plugin-template" -j "$jobs"
    ctest --test-dir "$work/plugin-template" --output-on-failure -j "$jobs"
    # grep reads to the end: grep -q would stop at the match, and ctest's SIGPIPE would then
    # fail the pipeline under pipefail.
    if ! ctest --test-dir "$work/plugin-template" -N | grep garden_inspect >/dev/null; then
        echo "the plugin template has no inspection step: the installed package lacks orrery::inspect" >&2
        exit 1
    fi
}

add_subdirectory_consumer() {
    echo "== add_subdirectory consumer"
    quietly cmake -S "$here/add_subdirectory" -B "$work/add_subdirectory" -G Ninja -DORRERY_SOURCE_DIR="$root"
    cmake --build "$work/add_subdirectory" -j "$jobs"
    "$work/add_subdirectory/tally"
}

# The add_subdirectory consumer needs no package: it builds beside it.
start package
start add_subdirectory_consumer
finish package
for consumer in find_package_consumer pkg_config_consumer boost_consumer plugin_template; do
    start "$consumer"
done
passed=0
for consumer in find_package_consumer pkg_config_consumer boost_consumer plugin_template \
    add_subdirectory_consumer; do
    finish "$consumer"
    passed=$((passed + 1))
done

echo "consumers: $passed passed, 0 failed"

#!/usr/bin/env bash
# Compile time of one class of 100 members (50 settable properties, 50 methods), written
# once with the typed layer and once with raw records whose hooks do the same checks and
# conversions by hand. The members cycle through four property types (double, int, bool,
# string) and four method signatures, as a real class's would. Each source is compiled
# $RUNS times (3) with the default preset's flags; prints the median CPU time (user +
# system) of each and their ratio.
#   bench/compile_time.sh [build-dir]      (default build/default; it must be configured)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
runs=${RUNS:-3}
[ -d "$build/include/orrery_host" ] || { echo "configure $build first (cmake --preset default)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
members=50
propertyTypes=(double int bool std::string)
propertyIds=("double scalar" "double scalar" "logical scalar" "string scalar")

# The C++ class, the same in both sources.
bigClass() {
    echo 'struct Big {'
    for i in $(seq 0 $((members - 1))); do echo "    ${propertyTypes[i % 4]} p$i{};"; done
    for i in $(seq 0 $((members - 1))); do
        case $((i % 4)) in
            0) echo "    double m$i(double x) const { return x + $i; }" ;;
            1) echo "    bool m$i(int a, int b) const { return a + b > $i; }" ;;
            2) echo "    std::string m$i(const std::string& s) const { return s + \"$i\"; }" ;;
            3) echo "    std::pair<double, double> m$i() const { return {$i, -$i}; }" ;;
        esac
    done
    echo '};'
}

{
    echo '#include <string>'
    echo '#include <utility>'
    echo '#include "convenience/typed/typed.hpp"'
    bigClass
    echo 'void publishBig() {'
    echo '    orrery::convenience::typed::defineClass<Big>("bench.Big")'
    echo '        .constructor<>()'
    for i in $(seq 0 $((members - 1))); do echo "        .property(\"p$i\", &Big::p$i)"; done
    for i in $(seq 0 $((members - 1))); do echo "        .method(\"m$i\", &Big::m$i)"; done
    echo '        .publish();'
    echo '}'
} >"$work/typed.cpp"

{
    cat <<'HEAD'
#include <stdexcept>
#include <string>
#include <utility>
#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
using namespace orrery;
using namespace orrery::convenience;
HEAD
    bigClass
    cat <<'HELPERS'
static Big& bigOf(COSInterface* object) {
    COSClass* cls = omGetObjectClass(object);
    auto* big = static_cast<Big*>(omGetObjectData(object));
    if (!cls || cls->getClassID().str() != "bench.Big" || !big) throw std::invalid_argument("not a bench.Big");
    return *big;
}
static double number(const COSValue& value) {
    auto read = values::readDouble(value);
    if (!read) throw std::invalid_argument("not a double scalar");
    return *read;
}
static int integer(const COSValue& value) {
    const double read = number(value);
    if (read != static_cast<int>(read)) throw std::invalid_argument("not an integer");
    return static_cast<int>(read);
}
static bool flag(const COSValue& value) {
    auto read = values::readLogical(value);
    if (!read) throw std::invalid_argument("not a logical scalar");
    return *read;
}
static std::string text(const COSValue& value) {
    auto read = values::readText(value);
    if (!read) throw std::invalid_argument("not text");
    return *read;
}
static void checkCounts(int inputs, int expected, int outputs, int most) {
    if (inputs != expected) throw std::invalid_argument("wrong number of inputs");
    if (outputs > most) throw std::invalid_argument("too many outputs");
}
void publishBig() {
    auto cls = createClass("bench.Big");
    cls->allocateDataFcn = [](COSInterface*) -> void* { return new Big(); };
    cls->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<Big*>(data); };
    auto constructor = createConstructor();
    constructor->invokeFcn = [](const COSClient*, int& n, COSValue* out, int nIn, const COSValue*) {
        checkCounts(nIn, 0, n, 1);
        out[0] = values::makeObject(omCreateObject(COSClass::getClass(makeId("bench.Big"))));
        n = 1;
    };
    cls->addConstructor(constructor);
HELPERS
    readers=(number integer flag text)
    makers=(values::makeDouble values::makeDouble values::makeLogical values::makeString)
    for i in $(seq 0 $((members - 1))); do
        cat <<PROPERTY
    {
        auto property = createProperty("p$i");
        property->SetTypeAndImplicitFactoryDefaultFcn(makeId("${propertyIds[i % 4]}"));
        property->getFcn = [](COSInterface* object) { return ${makers[i % 4]}(bigOf(object).p$i); };
        property->setFcn = [](COSInterface* object, COSValue value) { bigOf(object).p$i = ${readers[i % 4]}(value); };
        cls->addProperty(property);
    }
PROPERTY
    done
    for i in $(seq 0 $((members - 1))); do
        case $((i % 4)) in
            0) inputs='makeId("double scalar")' names='"x"' outputs='makeId("double scalar")' count=2 outs=1
               body="const double r = bigOf(values::peekObject(in[0])).m$i(number(in[1]));
            if (n >= 1) out[0] = values::makeDouble(r);" ;;
            1) inputs='makeId("double scalar"), makeId("double scalar")' names='"a", "b"' outputs='makeId("logical scalar")' count=3 outs=1
               body="const bool r = bigOf(values::peekObject(in[0])).m$i(integer(in[1]), integer(in[2]));
            if (n >= 1) out[0] = values::makeLogical(r);" ;;
            2) inputs='makeId("string scalar")' names='"s"' outputs='makeId("string scalar")' count=2 outs=1
               body="const std::string r = bigOf(values::peekObject(in[0])).m$i(text(in[1]));
            if (n >= 1) out[0] = values::makeString(r);" ;;
            3) inputs='' names='' outputs='makeId("double scalar"), makeId("double scalar")' count=1 outs=2
               body="const auto r = bigOf(values::peekObject(in[0])).m$i();
            if (n >= 1) out[0] = values::makeDouble(r.first);
            if (n >= 2) out[1] = values::makeDouble(r.second);" ;;
        esac
        cat <<METHOD
    {
        auto method = createMethod("m$i");
        method->inputTypes = {makeId("bench.Big scalar")${inputs:+, $inputs}};
        method->inputNames = {"self"${names:+, $names}};
        method->outputTypes = {$outputs};
        method->invokeFcn = [](const COSClient*, int& n, COSValue* out, int nIn, const COSValue* in) {
            checkCounts(nIn, $count, n, $outs);
            $body
            n = n < $outs ? n : $outs;
        };
        cls->addMethod(method);
    }
METHOD
    done
    echo '    cls->publish();'
    echo '}'
} >"$work/raw.cpp"

flags=(-std=c++20 -O2 -g -Iinclude -isystem "$build/include/orrery_host" -isystem "$build/kvboost-headers")
# The median CPU time of compiling the source, in seconds: other work on the machine does not count.
median() {
    local source=$1 times=()
    for _ in $(seq "$runs"); do
        local TIMEFORMAT='%U %S'
        times+=("$( { time g++ "${flags[@]}" -c "$work/$source.cpp" -o "$work/$source.o"; } 2>&1 |
            awk '{print $1 + $2}')")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}
typed=$(median typed)
raw=$(median raw)
printf 'typed: %s lines, %.2f s\nraw:   %s lines, %.2f s\nratio typed/raw: %.2f\n' \
    "$(wc -l <"$work/typed.cpp")" "$typed" "$(wc -l <"$work/raw.cpp")" "$raw" "$(awk "BEGIN {print $typed / $raw}")"

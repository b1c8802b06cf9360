#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/class_info.hpp"
#include "host/interned.hpp"
#include "host/method_info.hpp"
#include "host/namespace_info.hpp"
#include "plugin/hand_written.hpp"

// Hand-written metadata classes that answer from plain tables, as a plugin written
// without the library would: the baselines of the scale benchmarks. Each does the work
// its adaptor counterpart does: it hands its content over when the host populates it
// and builds a callable's signature on the first request, naming unnamed arguments
// Input_1, Output_1, ...
namespace bench {

struct CallableTable {
    std::string name;
    std::vector<orrery::COSId> inputTypes;
    std::vector<std::string> inputNames;  // empty: generated names
    std::vector<orrery::COSId> outputTypes;
    std::vector<std::string> outputNames;
    bool hasVarargin = false;
};

struct PropertyTable {
    std::string name;
    orrery::COSId type;
};

// A class, its properties, and its methods and constructor (as callables).
struct ClassTable {
    std::string name;
    std::vector<PropertyTable> properties;
    std::vector<CallableTable> methods;
};

// A namespace, its functions and its inner namespaces.
struct NamespaceTable {
    std::string name;
    std::vector<CallableTable> functions;
    std::vector<const NamespaceTable*> inner;
};

// Each answers from the table it is given, which must outlive it. Invoking a callable
// does what the benchmarks' hooks do: adds the input count to invokeSink().
BENCH_PLUGIN_API orrery::COSMethodInfo* makeHandCallableInfo(const CallableTable* table);
BENCH_PLUGIN_API orrery::COSClassInfo* makeHandClassInfo(const ClassTable* table);
BENCH_PLUGIN_API orrery::COSNamespaceInfo* makeHandNamespaceInfo(const NamespaceTable* table);

}  // namespace bench

#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "convenience/class_info_struct.hpp"
#include "host/class_info.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"

// Hand-written metadata classes, built into a shared library of their own as a plugin
// would ship them, so that they and the library's adaptors are reached the same way:
// through a virtual call into another shared object.
#define BENCH_PLUGIN_API __attribute__((visibility("default")))

namespace bench {

// What the trivial invoke bodies add to, so their work cannot be dropped.
BENCH_PLUGIN_API std::int64_t& invokeSink();

// Answers getName, isPropertyAttribute7 and getValue from its own fields.
BENCH_PLUGIN_API orrery::COSPropInfo* makeHandPropInfo(const std::string& name, orrery::COSValue stored);
// The same body as the benchmark's invoke hook, written inline.
BENCH_PLUGIN_API orrery::COSMethodInfo* makeHandMethodInfo();
// Hand-written classes that keep their behaviour in a std::function, as a record keeps
// its hooks: what the adaptors cost beyond such a call is the rest of the library's path.
BENCH_PLUGIN_API orrery::COSMethodInfo* makeHookMethodInfo(
    std::function<void(const orrery::COSClient*, int&, orrery::COSValue*, int, const orrery::COSValue*)> invoke);
BENCH_PLUGIN_API orrery::COSPropInfo* makeHookPropInfo(std::function<orrery::COSValue(orrery::COSInterface*)> get);
// Hand-written classes whose behaviour is a plain C function pointer with a state pointer:
// the cheapest behaviour a class can let its user replace, with no type erasure at all.
using InvokePointer = void (*)(void* state, const orrery::COSClient*, int&, orrery::COSValue*, int,
                               const orrery::COSValue*);
using GetPointer = orrery::COSValue (*)(void* state, orrery::COSInterface*);
BENCH_PLUGIN_API orrery::COSMethodInfo* makePointerMethodInfo(InvokePointer invoke, void* state);
BENCH_PLUGIN_API orrery::COSPropInfo* makePointerPropInfo(GetPointer get, void* state);
// Answers getName and isClassFlag10 from its own fields.
BENCH_PLUGIN_API orrery::COSClassInfo* makeHandClassInfo(const std::string& name);
// The library's class adaptor, instantiated inside a plugin as a client would.
BENCH_PLUGIN_API orrery::COSClassInfo* makeClassAdaptor(
    std::shared_ptr<orrery::convenience::COSClassInfoStruct> record);

}  // namespace bench

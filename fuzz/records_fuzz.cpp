// Drives random sequences of what client code and the host do with records: building,
// linking, copying, publishing, population, signature and default requests, dropping
// records, shutting the host down. After each step the invariants hold; after the
// input, with every record dropped and the host shut down, nothing is left alive.
// Any exception the contract allows is caught; sanitizers report the rest.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "convenience/convenience.hpp"
#include "convenience/diagnostics/live_records.hpp"
#include "host/reference/reference_host.hpp"

namespace {

using namespace orrery;
using namespace orrery::convenience;

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

const char* const kNames[] = {"a", "b", "geo", "geo.a", "Point", "", "a..b", "geo.", ".a"};
const char* const kTypes[] = {"double", "logical", "any", "a scalar", "Point scalar", "no.such", ""};

struct World {
    explicit World(FuzzedDataProvider& provider) : data(provider) {}

    FuzzedDataProvider& data;
    std::vector<std::shared_ptr<COSClassInfoStruct>> classes;
    std::vector<std::shared_ptr<COSPropInfoStruct>> properties;
    std::vector<std::shared_ptr<COSMethodInfoStruct>> methods;
    std::vector<std::shared_ptr<COSConstructorInfoStruct>> constructors;
    std::vector<std::shared_ptr<COSNamespaceInfoStruct>> namespaces;
    // A rank per namespace record: an inner namespace must rank higher than its parent
    // (a copy ranks as its source), so the client never builds a namespace loop.
    std::vector<int> ranks;
    int nextRank = 0;
    std::vector<std::shared_ptr<COSNamespaceFunctionInfoStruct>> functions;

    std::size_t pickIndex(std::size_t size) { return data.ConsumeIntegralInRange<std::size_t>(0, size - 1); }

    const char* name() { return data.PickValueInArray(kNames); }
    COSId type() { return makeId(data.PickValueInArray(kTypes)); }

    template <class T>
    std::shared_ptr<T> pick(std::vector<std::shared_ptr<T>>& pool) {
        if (pool.empty()) return nullptr;
        return pool[pickIndex(pool.size())];
    }

    template <class T>
    void drop(std::vector<std::shared_ptr<T>>& pool) {
        if (pool.empty()) return;
        pool.erase(pool.begin() + static_cast<long>(pickIndex(pool.size())));
    }

    // A client that lets go of a class record empties its lists first, as it must: the
    // members would otherwise keep it alive for good.
    void dropClass() {
        if (classes.empty()) return;
        std::size_t at = pickIndex(classes.size());
        release(*classes[at]);
        classes.erase(classes.begin() + static_cast<long>(at));
    }
    static void release(COSClassInfoStruct& cls) {
        cls.propertyRecords.clear();
        cls.methodRecords.clear();
        cls.constructorRecords.clear();
    }

    void step() {
        const int operation = data.ConsumeIntegralInRange(0, 24);
        // ORRERY_FUZZ_TRACE=1 lists the operations, to read a crashing input back.
        static const bool trace = std::getenv("ORRERY_FUZZ_TRACE") != nullptr;
        if (trace) std::fprintf(stderr, "operation %d\n", operation);
        switch (operation) {
            case 0: classes.push_back(createClass(name())); break;
            case 1: {
                auto property = createProperty(name());
                if (data.ConsumeBool()) property->SetTypeAndImplicitFactoryDefaultFcn(type());
                properties.push_back(property);
                break;
            }
            case 2: {
                auto method = createMethod(name());
                method->inputTypes.assign(data.ConsumeIntegralInRange(0, 3), type());
                if (data.ConsumeBool()) method->inputNames.assign(data.ConsumeIntegralInRange(0, 3), "in");
                method->outputTypes.assign(data.ConsumeIntegralInRange(0, 2), type());
                method->hasVarargin = data.ConsumeBool();
                methods.push_back(method);
                break;
            }
            case 3: {
                auto constructor = data.ConsumeBool() ? createConstructor() : createUnsupportedConstructor(name());
                constructor->outputTypes.assign(data.ConsumeIntegralInRange(0, 2), type());
                if (data.ConsumeBool()) constructor->outputNames.assign(data.ConsumeIntegralInRange(0, 2), "out");
                constructors.push_back(constructor);
                break;
            }
            case 4:
                namespaces.push_back(createNamespace(name()));
                ranks.push_back(nextRank++);
                break;
            case 5: {
                auto function = createFunction(name());
                function->inputTypes.assign(data.ConsumeIntegralInRange(0, 3), type());
                functions.push_back(function);
                break;
            }
            case 6: {  // link a member from either side
                auto cls = pick(classes);
                if (!cls) break;
                switch (data.ConsumeIntegralInRange(0, 5)) {
                    case 0:
                        if (auto p = pick(properties)) {
                            cls->addProperty(p);
                            require(std::get<1>(p->classHolder) == cls, "addProperty links the property");
                        }
                        break;
                    case 1:
                        if (auto p = pick(properties)) {
                            p->attach(cls);
                            require(std::get<1>(p->classHolder) == cls, "attach links the property");
                        }
                        break;
                    case 2:
                        if (auto m = pick(methods)) {
                            cls->addMethod(m);
                            require(std::get<1>(m->classHolder) == cls, "addMethod links the method");
                        }
                        break;
                    case 3:
                        if (auto m = pick(methods)) m->attach(cls);
                        break;
                    case 4:
                        if (auto c = pick(constructors)) {
                            cls->addConstructor(c);
                            require(std::get<1>(c->classHolder) == cls, "addConstructor links the constructor");
                        }
                        break;
                    case 5:
                        if (auto c = pick(constructors)) c->attach(cls);
                        break;
                }
                break;
            }
            case 7: {  // attach straight to a host class
                auto* host = reference::defineClass(name());
                if (auto p = pick(properties); p && data.ConsumeBool()) {
                    p->attach(host);
                    require(std::get<0>(p->classHolder) == host->getClassID(), "attach to a host class names it");
                } else if (auto c = pick(constructors)) {
                    c->attach(host);
                }
                break;
            }
            case 8:
                if (auto cls = pick(classes)) cls->addSuperclass(makeId(name()), data.ConsumeBool(), 1, false);
                break;
            case 9:  // copies
                if (auto cls = pick(classes)) classes.push_back(std::make_shared<COSClassInfoStruct>(*cls));
                if (auto p = pick(properties)) properties.push_back(std::make_shared<COSPropInfoStruct>(*p));
                if (!namespaces.empty()) {
                    std::size_t at = pickIndex(namespaces.size());
                    namespaces.push_back(std::make_shared<COSNamespaceInfoStruct>(*namespaces[at]));
                    ranks.push_back(ranks[at]);
                }
                break;
            case 10:
                if (auto cls = pick(classes)) cls->publish();
                break;
            case 11:
                if (auto ns = pick(namespaces)) ns->publish();
                break;
            case 12: {  // content of a namespace
                if (namespaces.empty()) break;
                std::size_t at = pickIndex(namespaces.size());
                auto ns = namespaces[at];
                if (auto cls = pick(classes); cls && data.ConsumeBool()) ns->addClass(cls);
                if (auto function = pick(functions); function && data.ConsumeBool()) function->attach(ns);
                std::size_t inner = pickIndex(namespaces.size());
                if (ranks[inner] > ranks[at] && data.ConsumeBool()) ns->addInnerNamespace(namespaces[inner]);
                break;
            }
            case 13: {  // the host asks for a class
                const std::string id = name();
                if (id.empty()) break;
                std::vector<COSClassInfoStruct*> unpopulated;
                for (const auto& cls : classes)
                    if (!cls->cosClass) unpopulated.push_back(cls.get());
                COSClass* host = COSClass::getClass(makeId(id));
                for (COSClassInfoStruct* cls : unpopulated)
                    if (host && cls->cosClass == host)
                        require(cls->propertyRecords.empty() && cls->methodRecords.empty() &&
                                    cls->constructorRecords.empty() && cls->superclasses.empty(),
                                "population empties the record's lists");
                break;
            }
            case 14: reference::findPackage(name()); break;
            case 15:
                if (auto m = pick(methods)) m->getMethodSignature();
                break;
            case 16:
                if (auto c = pick(constructors)) c->getConstructorSignature();
                break;
            case 17:
                if (auto f = pick(functions)) f->getFunctionSignature();
                break;
            case 18:
                if (auto p = pick(properties)) p->GetFactoryDefaultValue();
                break;
            case 19: dropClass(); break;
            case 20: drop(properties); break;
            case 21: drop(methods); break;
            case 22:
                if (!namespaces.empty()) {
                    std::size_t at = pickIndex(namespaces.size());
                    namespaces.erase(namespaces.begin() + static_cast<long>(at));
                    ranks.erase(ranks.begin() + static_cast<long>(at));
                }
                break;
            case 23: {
                reference::shutdown();
                const reference::LiveCounts live = reference::liveCounts();
                require(live.classInfos == 0 && live.methodInfos == 0 && live.namespaceInfos == 0 &&
                            live.propInfos == 0 && live.classes == 0 && live.packages == 0,
                        "shutdown frees everything the host owns");
                break;
            }
            case 24:
                if (auto cls = pick(classes)) {
                    try {
                        auto constructor = createConstructor();
                        cls->addConstructor(constructor);
                        constructors.push_back(constructor);
                    } catch (const std::invalid_argument&) {}
                }
                break;
        }
    }

    void finish() {
        for (const auto& cls : classes) release(*cls);
        classes.clear();
        properties.clear();
        methods.clear();
        constructors.clear();
        namespaces.clear();
        ranks.clear();
        functions.clear();
        reference::shutdown();
        require(reference::liveCounts() == reference::LiveCounts{}, "nothing of the host is left alive");
        if (diagnostics::liveRecordCount() != 0)
            std::fprintf(stderr, "%s\n", diagnostics::describe(diagnostics::liveRecords()).c_str());
        require(diagnostics::liveRecordCount() == 0, "no record is left alive");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    World world(data);
    while (data.remaining_bytes() > 0) {
        try {
            world.step();
        } catch (const std::exception&) {
            // Misuse and host errors the contract allows: bad_weak_ptr, bad_function_call,
            // logic_error, invalid_argument, the host's message-ID errors.
        }
    }
    world.finish();
    return 0;
}

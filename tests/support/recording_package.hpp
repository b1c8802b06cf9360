#pragma once

#include <gmock/gmock.h>

#include <memory>
#include <set>
#include <vector>

#include "host/class_info.hpp"
#include "host/cos_package.hpp"
#include "host/method_info.hpp"
#include "host/namespace_info.hpp"

namespace orrery::testing {

// A host package that records what it is given and, like the host, owns it. An item
// handed over twice is freed once.
class RecordingPackage : public COSPackage {
public:
    RecordingPackage() {
        ON_CALL(*this, addInnerNamespaceInfo).WillByDefault([this](COSNamespaceInfo* n) { namespaces.push_back(n); });
        ON_CALL(*this, addClassInfo).WillByDefault([this](COSClassInfo* c, int, int) { classes.push_back(c); });
        ON_CALL(*this, addFunctionInfo).WillByDefault([this](COSMethodInfo* f, int, int) { functions.push_back(f); });
    }
    ~RecordingPackage() override {
        for (auto* item : std::set<COSNamespaceInfo*>(namespaces.begin(), namespaces.end())) delete item;
        for (auto* item : std::set<COSClassInfo*>(classes.begin(), classes.end())) delete item;
        for (auto* item : std::set<COSMethodInfo*>(functions.begin(), functions.end())) delete item;
    }
    MOCK_METHOD(void, addInnerNamespaceInfo, (COSNamespaceInfo*), (override));
    MOCK_METHOD(void, addClassInfo, (COSClassInfo*, int, int), (override));
    MOCK_METHOD(void, addFunctionInfo, (COSMethodInfo*, int, int), (override));

    std::vector<COSNamespaceInfo*> namespaces;
    std::vector<COSClassInfo*> classes;
    std::vector<COSMethodInfo*> functions;
};

}  // namespace orrery::testing

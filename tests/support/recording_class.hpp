#pragma once

#include <gmock/gmock.h>

#include <memory>
#include <string>
#include <vector>

#include "host/cos_class.hpp"
#include "host/method_info.hpp"
#include "host/prop_info.hpp"

namespace orrery::testing {

// A host class object that records what it is given and, like the host, owns it.
class RecordingClass : public COSClass {
public:
    RecordingClass() {
        ON_CALL(*this, addPropertyInfo).WillByDefault([this](COSPropInfo* p) { properties.emplace_back(p); });
        ON_CALL(*this, addMethodInfo).WillByDefault([this](COSMethodInfo* m) { methods.emplace_back(m); });
    }
    MOCK_METHOD(void, addSuperclass, (const COSId&, bool, int, bool), (override));
    MOCK_METHOD(void, addPropertyInfo, (COSPropInfo*), (override));
    MOCK_METHOD(void, addEventInfo, (COSEventInfo*), (override));
    MOCK_METHOD(void, addMethodInfo, (COSMethodInfo*), (override));
    MOCK_METHOD(COSId, getClassID, (), (override));
    MOCK_METHOD(const char*, getClassName, (), (override));

    std::vector<std::unique_ptr<COSPropInfo>> properties;
    std::vector<std::unique_ptr<COSMethodInfo>> methods;
};

// Matches a metadata pointer by the name it reports.
MATCHER_P(Named, name, "") { return arg != nullptr && std::string(arg->getName()) == name; }

}  // namespace orrery::testing

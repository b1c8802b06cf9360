#include "plugin/hand_written_metadata.hpp"

#include <memory>

#include "host/cos_class.hpp"
#include "host/cos_package.hpp"
#include "host/method_signature.hpp"
#include "host/prop_info.hpp"

namespace bench {
namespace {

using namespace orrery;

void addArguments(COSMethodSignature& signature, const std::vector<COSId>& types, const std::vector<std::string>& names,
                  const char* prefix, void (COSMethodSignature::*add)(COSId, COSId)) {
    for (std::size_t i = 0; i < types.size(); ++i) {
        const std::string name = names.empty() ? prefix + std::to_string(i + 1) : names[i];
        (signature.*add)(types[i], makeId(name));
    }
}

class HandCallableInfo final : public COSMethodInfo {
public:
    explicit HandCallableInfo(const CallableTable* table) : table_(table) {}

    const char* getName() override { return table_->name.c_str(); }
    COSMethodSignature* getSignature() override {
        if (!signature_) {
            std::unique_ptr<COSMethodSignature> made(COSMethodSignature::createMethodSignature());
            addArguments(*made, table_->inputTypes, table_->inputNames, "Input_", &COSMethodSignature::addInput);
            if (table_->hasVarargin) made->setVarargin();
            made->setSignatureOption(0);
            addArguments(*made, table_->outputTypes, table_->outputNames, "Output_", &COSMethodSignature::addOutput);
            signature_ = std::move(made);
        }
        return signature_.get();
    }
    void invoke(const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue*) override {
        invokeSink() += inputCount;
        outputCount = 0;
    }

private:
    const CallableTable* table_;
    std::unique_ptr<COSMethodSignature> signature_;
};

class HandPropertyInfo final : public COSPropInfo {
public:
    explicit HandPropertyInfo(const PropertyTable* table) : table_(table) {}
    const char* getName() override { return table_->name.c_str(); }
    COSDataTypePtr getDataType() override { return COSDataTypePtr(table_->type); }

private:
    const PropertyTable* table_;
};

class HandClassInfo final : public COSClassInfo {
public:
    explicit HandClassInfo(const ClassTable* table) : table_(table) {}
    const char* getName() override { return table_->name.c_str(); }
    void populateClass(COSClass* cosClass, const COSClient*) override {
        for (const PropertyTable& property : table_->properties)
            cosClass->addPropertyInfo(new HandPropertyInfo(&property));
        for (const CallableTable& method : table_->methods) cosClass->addMethodInfo(new HandCallableInfo(&method));
    }

private:
    const ClassTable* table_;
};

class HandNamespaceInfo final : public COSNamespaceInfo {
public:
    explicit HandNamespaceInfo(const NamespaceTable* table) : table_(table) {}
    const char* getName() override { return table_->name.c_str(); }
    void populatePackage(COSPackage* package) override {
        for (const CallableTable& function : table_->functions)
            package->addFunctionInfo(new HandCallableInfo(&function), 0, 2);
        for (const NamespaceTable* inner : table_->inner) package->addInnerNamespaceInfo(new HandNamespaceInfo(inner));
    }

private:
    const NamespaceTable* table_;
};

}  // namespace

COSMethodInfo* makeHandCallableInfo(const CallableTable* table) { return new HandCallableInfo(table); }
COSClassInfo* makeHandClassInfo(const ClassTable* table) { return new HandClassInfo(table); }
COSNamespaceInfo* makeHandNamespaceInfo(const NamespaceTable* table) { return new HandNamespaceInfo(table); }

}  // namespace bench

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
    explicit HandCallableInfo(const CallableSpec* spec) : spec_(spec) {}

    const char* getName() override { return spec_->name.c_str(); }
    COSMethodSignature* getSignature() override {
        if (!signature_) {
            std::unique_ptr<COSMethodSignature> made(COSMethodSignature::createMethodSignature());
            addArguments(*made, spec_->inputTypes, spec_->inputNames, "Input_", &COSMethodSignature::addInput);
            if (spec_->hasVarargin) made->setVarargin();
            made->setSignatureOption(0);
            addArguments(*made, spec_->outputTypes, spec_->outputNames, "Output_", &COSMethodSignature::addOutput);
            signature_ = std::move(made);
        }
        return signature_.get();
    }
    void invoke(const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue*) override {
        invokeSink() += inputCount;
        outputCount = 0;
    }

private:
    const CallableSpec* spec_;
    std::unique_ptr<COSMethodSignature> signature_;
};

class HandPropertyInfo final : public COSPropInfo {
public:
    explicit HandPropertyInfo(const PropertySpec* spec) : spec_(spec) {}
    const char* getName() override { return spec_->name.c_str(); }
    COSDataTypePtr getDataType() override { return COSDataTypePtr(spec_->type); }

private:
    const PropertySpec* spec_;
};

class HandClassInfo final : public COSClassInfo {
public:
    explicit HandClassInfo(const ClassSpec* spec) : spec_(spec) {}
    const char* getName() override { return spec_->name.c_str(); }
    void populateClass(COSClass* cosClass, const COSClient*) override {
        for (const PropertySpec& property : spec_->properties)
            cosClass->addPropertyInfo(new HandPropertyInfo(&property));
        for (const CallableSpec& method : spec_->methods) cosClass->addMethodInfo(new HandCallableInfo(&method));
    }

private:
    const ClassSpec* spec_;
};

class HandNamespaceInfo final : public COSNamespaceInfo {
public:
    explicit HandNamespaceInfo(const NamespaceSpec* spec) : spec_(spec) {}
    const char* getName() override { return spec_->name.c_str(); }
    void populatePackage(COSPackage* package) override {
        for (const CallableSpec& function : spec_->functions)
            package->addFunctionInfo(new HandCallableInfo(&function), 0, 2);
        for (const NamespaceSpec* inner : spec_->inner) package->addInnerNamespaceInfo(new HandNamespaceInfo(inner));
    }

private:
    const NamespaceSpec* spec_;
};

}  // namespace

COSMethodInfo* makeHandCallableInfo(const CallableSpec* spec) { return new HandCallableInfo(spec); }
COSClassInfo* makeHandClassInfo(const ClassSpec* spec) { return new HandClassInfo(spec); }
COSNamespaceInfo* makeHandNamespaceInfo(const NamespaceSpec* spec) { return new HandNamespaceInfo(spec); }

}  // namespace bench

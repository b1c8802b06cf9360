#pragma once

// FunctionBuilder: a namespace function from a C++ callable, its record filled the way
// ClassBuilder fills methods.
//
//     defineFunction("geo.util.area", &area, {"polygon"}).publish();

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "convenience/namespace_function_info_struct.hpp"
#include "convenience/typed/detail/callable_record.hpp"
#include "host/cos_package.hpp"

namespace orrery::convenience::typed {

class FunctionBuilder {
public:
    /// `dottedName` is the function's full name, "geo.util.area"; the record is named by its
    /// last component.
    template <class Fn>
    FunctionBuilder(const std::string& dottedName, Fn fn, const std::vector<std::string>& inputNames,
                    const std::vector<std::string>& outputNames) {
        const std::size_t dot = dottedName.rfind('.');
        namespacePath_ = dot == std::string::npos ? std::string() : dottedName.substr(0, dot);
        record_ = createFunction(dottedName.substr(dot == std::string::npos ? 0 : dot + 1).c_str());
        detail::fillCallable(*record_, std::move(fn), dottedName, false, inputNames, outputNames);
    }

    const std::shared_ptr<COSNamespaceFunctionInfoStruct>& record() const { return record_; }

    /// The function's description, which the host shows.
    FunctionBuilder& doc(const std::string& text) {
        record_->description = text;
        return *this;
    }

    /// Hands the function to the host package of its namespace, which the host resolves
    /// (and populates) now. std::invalid_argument for a name without a namespace.
    void publish() const {
        if (namespacePath_.empty())
            throw std::invalid_argument("function " + record_->name + " needs a namespace: name it \"ns." +
                                        record_->name + "\"");
        std::size_t start = 0, dot = namespacePath_.find('.');
        COSPackage* package = omGetNamespace(namespacePath_.substr(0, dot).c_str());
        while (dot != std::string::npos) {
            start = dot + 1;
            dot = namespacePath_.find('.', start);
            package = omGetInnerNamespace(package, namespacePath_.substr(start, dot - start).c_str());
        }
        record_->attach(package);
    }

private:
    std::shared_ptr<COSNamespaceFunctionInfoStruct> record_;
    std::string namespacePath_;
};

/// A namespace function from a callable; inputs and outputs from its parameters and result.
template <class Fn>
FunctionBuilder defineFunction(const std::string& dottedName, Fn fn, const std::vector<std::string>& inputNames = {},
                               const std::vector<std::string>& outputNames = {}) {
    return FunctionBuilder(dottedName, std::move(fn), inputNames, outputNames);
}

}  // namespace orrery::convenience::typed

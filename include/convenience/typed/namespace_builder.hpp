#pragma once

// NamespaceBuilder: a namespace record with typed classes, functions and inner namespaces.
//
//     auto geo = defineNamespace("geo");
//     geo.defineClass<Polygon>("Polygon").property("area", &Polygon::area);   // geo.Polygon
//     geo.defineNamespace("util").function("area", &area, {"polygon"});      // geo.util.area
//     geo.publish();

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "convenience/namespace_function_info_struct.hpp"
#include "convenience/namespace_info_struct.hpp"
#include "convenience/typed/class_builder.hpp"
#include "convenience/typed/detail/callable_record.hpp"
#include "convenience/typed/detail/simple_name.hpp"

namespace orrery::convenience::typed {

class NamespaceBuilder {
public:
    /// `path` is the namespace's full dotted name; `inner` says that a parent builder added it.
    explicit NamespaceBuilder(std::string path, bool inner = false)
        : record_(createNamespace(path.c_str())), path_(std::move(path)), inner_(inner) {}

    const std::shared_ptr<COSNamespaceInfoStruct>& record() const { return record_; }
    const std::string& path() const { return path_; }

    /// A class of this namespace, bound to T; its full id is "<path>.<name>". Added to the
    /// namespace at once: members added to it later still reach the host.
    template <class T>
    ClassBuilder<T> defineClass(const std::string& name) {
        detail::requireSimpleName(name, "defineClass", "namespace " + path_);
        ClassBuilder<T> builder(path_ + "." + name, name, true);
        record_->addClass(builder.record());
        return builder;
    }

    /// A function of this namespace, from a callable.
    template <class Fn>
    NamespaceBuilder& function(const std::string& name, Fn fn, const std::vector<std::string>& inputNames = {},
                               const std::vector<std::string>& outputNames = {}) {
        detail::requireSimpleName(name, "function", "namespace " + path_);
        auto record = createFunction(name.c_str());
        detail::fillCallable(*record, std::move(fn), path_ + "." + name, false, inputNames, outputNames);
        record_->addFunction(record);
        return *this;
    }

    /// The function record of that name (the first), or null.
    std::shared_ptr<COSNamespaceFunctionInfoStruct> functionRecord(const std::string& name) const {
        for (const auto& function : record_->functions)
            if (function->name == name) return function;
        return nullptr;
    }

    /// An inner namespace, added at once. Each name is one component, here and above
    /// (std::invalid_argument otherwise): nest defineNamespace calls for a deeper path.
    NamespaceBuilder defineNamespace(const std::string& name) {
        detail::requireSimpleName(name, "defineNamespace", "namespace " + path_);
        NamespaceBuilder inner(path_ + "." + name, true);
        inner.record_->name = name;
        record_->addInnerNamespace(inner.record_);
        return inner;
    }

    /// Hands the namespace to the host (a dotted path: into the package it leads to). An
    /// inner namespace reaches the host with its parent instead (std::logic_error here).
    void publish() const {
        if (inner_) throw std::logic_error("namespace " + path_ + " is an inner namespace: publish its parent");
        record_->publish();
    }

private:
    std::shared_ptr<COSNamespaceInfoStruct> record_;
    std::string path_;
    bool inner_;
};

/// A namespace builder for the full dotted name `path`.
inline NamespaceBuilder defineNamespace(const std::string& path) { return NamespaceBuilder(path); }

}  // namespace orrery::convenience::typed

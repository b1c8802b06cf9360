#pragma once

// The typed definition layer: bind C++ classes and functions to host classes and
// namespace functions; type ids, argument lists, value conversion, per-object storage and
// argument checks are worked out from the C++ types. It fills the library's records and
// nothing else, so everything the records offer stays available. Header-only but for the
// value helpers and errors in the library.
//
//     using namespace orrery::convenience::typed;
//     auto geo = defineNamespace("geo");
//     geo.defineClass<Polygon>("Polygon")
//         .constructor<std::string>({"name"})
//         .property("area", &Polygon::area)
//         .method("addVertex", &Polygon::addVertex, {"x", "y"});
//     geo.publish();

#include "convenience/typed/class_binding.hpp"  // bound classes, their objects
#include "convenience/typed/class_builder.hpp"  // defineClass
#include "convenience/typed/converter.hpp"  // Converter<T>: type ids and value conversion
#include "convenience/typed/declared_error.hpp"  // a plugin's own errors
#include "convenience/typed/errors.hpp"  // the errors of typed members
#include "convenience/typed/exception_translation.hpp"  // C++ exceptions to host errors
#include "convenience/typed/function_builder.hpp"  // defineFunction
#include "convenience/typed/namespace_builder.hpp"  // defineNamespace
#include "convenience/values.hpp"  // making and reading host values

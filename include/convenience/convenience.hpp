#pragma once

// The orrery convenience library: describe host classes as plain records and publish them,
// and the value and array utilities that class-defining code needs.
// This header includes every public header of the library.
//
// Typical use:
//
//     using namespace orrery;
//     using namespace orrery::convenience;
//
//     auto point = createClass("pkg.Point");                      // the class record
//     point->description = "A point in the plane";
//     point->allocateDataFcn = [](COSInterface*) -> void* { return new Point(); };
//     point->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<Point*>(data); };
//
//     auto x = createProperty("x");                               // a typed property whose
//     x->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));   // default is the type's own
//     x->getFcn = [](COSInterface* self) -> COSValue { /* the object's x */ };
//     point->addProperty(x);
//
//     auto norm = createMethod("norm");                           // a method: its signature
//     norm->inputTypes = {makeId("pkg.Point scalar")};            // fields and the call itself
//     norm->inputNames = {"self"};
//     norm->outputTypes = {makeId("double")};
//     norm->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
//                          const COSValue* inputs) { /* fill outputs[0], set outputCount */ };
//     point->addMethod(norm);
//
//     point->addConstructor(createConstructor());                 // named pkg.Point, output "Output"
//     point->publish();                                           // the host registry owns an adaptor
//
//     auto geo = createNamespace("geo");                          // or publish into a namespace:
//     geo->addClass(createClass("Polygon"));                      // classes, functions and inner
//     geo->addFunction(createFunction("area"));                   // namespaces reach the host when
//     geo->publish();                                             // it first resolves a name in geo
//
// The host pulls the rest: the members reach it when it first sets the class up, and every
// answer is read from the records when the host asks. Change a record before the host
// asks, not while it may be calling into the adaptor. A hook must not replace or clear
// its own field while it runs (that destroys the running callable; debug builds report
// it); records may outlive the host. docs/raw-records.md (Lifetimes) says more.
//
// Beyond the records: convenience/typed/typed.hpp binds C++ classes and functions and fills
// these records from the C++ types; convenience/diagnostics/contract.hpp finds what is
// wrong with a record before the host does.

#include "convenience/array_comparison.hpp"  // element-wise comparison of object arrays
#include "convenience/class_holder.hpp"  // ClassHolder: the class a member belongs to
#include "convenience/class_info_struct.hpp"  // the class record, createClass
#include "convenience/configurable_class_info.hpp"  // the class adaptor
#include "convenience/configurable_constructor_info.hpp"  // the constructor adaptor
#include "convenience/configurable_method_info.hpp"  // the method adaptor
#include "convenience/configurable_namespace_function_info.hpp"  // the namespace function adaptor
#include "convenience/configurable_namespace_info.hpp"  // the namespace adaptor
#include "convenience/configurable_prop_info.hpp"  // the property adaptor
#include "convenience/constructor_info_struct.hpp"  // the constructor record, createConstructor
#include "convenience/export.hpp"  // ORRERY_CONVENIENCE_API
#include "convenience/method_info_struct.hpp"  // the method record, createMethod
#include "convenience/namespace_function_info_struct.hpp"  // the function record, createFunction
#include "convenience/namespace_info_struct.hpp"  // the namespace record, createNamespace
#include "convenience/prop_info_struct.hpp"  // the property record, createProperty
#include "convenience/string_array.hpp"  // the host's string array container
#include "convenience/string_conversion.hpp"  // host text to UTF-8 and UTF-16 strings
#include "convenience/type_lookup.hpp"  // host classes by id or data-type id
#include "convenience/values.hpp"  // making, reading and describing host values (beyond the records)

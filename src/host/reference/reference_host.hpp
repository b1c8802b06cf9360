#pragma once

// The reference host: an in-process implementation of the host class system, for
// tests, demos and plugin authors who want to try their definitions off-host. This
// header is all a user of it includes.
//
//     auto point = orrery::convenience::createClass("pkg.Point");
//     ...                                          // members, constructor
//     point->publish();
//     orrery::reference::ClassObject* cls = orrery::reference::findClass("pkg.Point");
//     COSValue p = orrery::reference::construct(makeId("pkg.Point"), {makeDouble(3), makeDouble(4)});
//     ...
//     orrery::reference::shutdown();               // frees everything the host owns
//     assert(orrery::reference::liveCounts() == orrery::reference::LiveCounts{});

#include "host/reference/arrays.hpp"  // making arrays, deferred extents
#include "host/reference/calls.hpp"  // construct, properties, method calls
#include "host/reference/class_object.hpp"  // the host's class object
#include "host/reference/counters.hpp"  // live counts and call counts
#include "host/reference/data_types.hpp"  // data types and their default values
#include "host/reference/errors.hpp"  // the message catalogue
#include "host/reference/member_lookup.hpp"  // members through superclasses
#include "host/reference/namespace_tree.hpp"  // top-level namespaces, lazy packages, dotted names
#include "host/reference/object_arrays.hpp"  // object arrays of any shape, watching element fetches
#include "host/reference/objects.hpp"  // instances, their per-object data, deleting them
#include "host/reference/package.hpp"  // the host's package
#include "host/reference/registry.hpp"  // class registry, defineClass, shutdown
#include "host/reference/signature.hpp"  // the host's signature, as text
#include "host/reference/strings.hpp"  // string arrays, char arrays of any shape
#include "host/reference/text.hpp"  // UTF-8 to UTF-16 (the other way: fl::i18n::ustring_to_utf8)

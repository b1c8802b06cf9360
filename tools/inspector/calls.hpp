#pragma once
// --call: what the host's users do with a plugin's classes, from the command line.
//
//   --call geo.Polygon tri            constructs (the class's constructor)
//   --call geo.Polygon.unitSquare     calls a method of a class with the inputs given
//   --call @1.addVertex 0 0           calls a method on the first object a call returned
//   --call @1.name                    reads a property of it (@1.name "x" writes it)
//   --call geo.util.area @1           calls a namespace function
//
// The names are found and called by the reference host's resolve and call, as the test
// kit's are: the callable gets the inputs as given and checks their number itself, and
// every output its signature names is asked for.
//
// Arguments: @N is the N-th object returned so far, a number is a double scalar (as
// from_chars reads it: -5, 1e-7, inf, -inf, nan), true and false are logical scalars,
// a word in double quotes is the text between them ("\"42\"" is the text 42, "\"\"" the
// empty text), anything else is a string scalar as it is.
#include <string>
#include <vector>

#include "host/interface_ptr.hpp"
#include "inspection.hpp"

namespace orrery::inspector {

class CallSession {
public:
    explicit CallSession(Inspection& out) : out_(out) {}

    /// Runs one call and records it, outputs or error; false when it failed.
    bool run(const std::vector<std::string>& command);

    /// The file of the plugin that published what the command names, or empty.
    std::string owner(const std::vector<std::string>& command) const;

private:
    Inspection& out_;
    std::vector<COSInterfacePtr> objects_;  ///< @1, @2, ...: released with the session
};

}  // namespace orrery::inspector

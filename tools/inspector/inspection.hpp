#pragma once
// What the inspector learnt about the plugins it loaded: plain text and numbers, no host
// objects, so that it outlives the host and every report format reads the same facts.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "convenience/diagnostics/contract.hpp"

namespace orrery::inspector {

/// The deepest nesting of namespaces the inspector follows and writes: far past any real
/// tree, and shallow enough that walking it recursively keeps the stack small.
inline constexpr std::size_t maxDepth = 100;

/// One host query whose answer differs from what a fresh record's adaptor answers.
struct Difference {
    std::string query;  ///< the host's query: "isPropertyAttribute7", "getClassInt2"
    std::string value;  ///< "false", "3"
};

struct Argument {
    std::string type;
    std::string name;
};

/// A method, constructor or namespace function as its signature shows it.
struct Callable {
    std::string name;
    std::string description;
    std::string access;
    std::vector<Argument> inputs;
    std::vector<Argument> outputs;
    bool varargin = false;
    bool varargout = false;
    bool hasSignature = false;  ///< the host got one when it asked
    std::vector<Difference> attributes;
};

/// "1 class", "3 classes": the count and the word that goes with it.
std::string counted(std::size_t count, const char* one, const char* many);

/// "(double x, double y) -> (double length)", as the host's signatures read; the output
/// list is left out when it is empty and `emptyOutputs` is false.
std::string signatureText(const Callable& callable, bool emptyOutputs = true);

struct Property {
    std::string name;
    std::string description;
    std::string type;
    std::string factoryDefault;  ///< as the host describes values (0, "", <geo.Shape object>); empty if it failed
    std::string getAccess;
    std::string setAccess;
    std::vector<Difference> attributes;
};

struct ClassReport {
    std::string id;  ///< the full, dotted id
    std::string description;
    std::string detailedDescription;
    std::string plugin;  ///< the file of the plugin that published it
    std::vector<std::string> superclasses;
    std::vector<Difference> flags;
    std::vector<Property> properties;
    std::vector<Callable> constructors;
    std::vector<Callable> methods;
};

struct NamespaceReport {
    std::string path;  ///< "geo.util"
    std::string description;
    std::string plugin;
    std::vector<ClassReport> classes;
    std::vector<Callable> functions;
    std::vector<NamespaceReport> namespaces;
};

/// Something that failed: where, and the error (a host error has an id).
struct Problem {
    std::string where;
    std::string message;
    std::string id;
};

struct PluginReport {
    std::string file;  ///< the file name, without its directory
    bool loaded = false;  ///< its entry point ran to the end
    std::vector<std::string> classes;  ///< what it published to the class registry
    std::vector<std::string> namespaces;  ///< and to the namespace tree
};

struct CallOutput {
    std::string name;  ///< from the signature
    std::string value;  ///< as the host describes it
    std::string handle;  ///< "@1" for an object output, by which later calls name it
};

struct CallReport {
    std::vector<std::string> command;  ///< the name and the arguments, as given
    std::vector<CallOutput> outputs;
    std::optional<Problem> error;
};

struct Counts {
    std::size_t plugins = 0, namespaces = 0, classes = 0, properties = 0, methods = 0, constructors = 0, functions = 0;
};

struct Inspection {
    std::vector<PluginReport> plugins;
    std::vector<NamespaceReport> namespaces;  ///< top-level, in the order they were published
    std::vector<ClassReport> classes;  ///< published to the class registry, in order
    std::vector<convenience::diagnostics::Finding> findings;
    std::vector<Problem> errors;
    std::vector<CallReport> calls;
    std::string leaks;  ///< empty when nothing outlived the plugins

    Counts counts() const;
};

}  // namespace orrery::inspector

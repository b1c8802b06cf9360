#pragma once

// What the observatory's host objects hold: each object's data comes from its class's
// allocateDataFcn and goes back through objectDataFcn. Access to it checks the object's
// class first, so a wrong object is an error, never a misread.

#include <stdexcept>
#include <string>
#include <vector>

#include "convenience/values.hpp"
#include "host/assumed_operations.hpp"
#include "host/cos_class.hpp"
#include "host/interface_ptr.hpp"
#include "host/value.hpp"

namespace observatory {

inline constexpr const char* kTelescope = "observatory.Telescope";
inline constexpr const char* kObservation = "observatory.Observation";
inline constexpr const char* kCatalogue = "observatory.Catalogue";

struct TelescopeState {
    std::string name;
    double aperture = 1;  ///< metres
    double ra = 0;  ///< where it points, degrees
    double dec = 0;
    int observations = 0;  ///< made with this telescope
};

struct ObservationState {
    std::string target;
    std::string telescope;  ///< the name of the telescope that made it
    double aperture = 1;
    double exposure = 0;  ///< seconds
    double ra = 0;
    double dec = 0;
};

struct CatalogueState {
    std::string name;
    std::vector<ObservationState> entries;  ///< copies: the catalogue outlives the observations
};

// What one definition of the namespace has seen; shared by its hooks, so that every
// definition (every loaded plugin, every test) counts for itself.
struct Session {
    int observations = 0;  ///< made by any telescope
    int copies = 0;  ///< copyData calls on observations
    int notifications = 0;  ///< notify calls on the telescope class
};

// The data of an object of the class; std::invalid_argument, naming `what`, for anything
// else (another class's object, a deleted object, no object at all).
template <class State>
State& stateOf(orrery::COSInterface* object, const char* className, const std::string& what) {
    orrery::COSClass* cls = object ? orrery::omGetObjectClass(object) : nullptr;
    void* data = object ? orrery::omGetObjectData(object) : nullptr;
    if (!cls || cls->getClassID().str() != className || !data)
        throw std::invalid_argument(what + " must be a live " + className + " object");
    return *static_cast<State*>(data);
}

// The same for an input: a 1-by-1 object array holding such an object.
template <class State>
State& stateOf(const orrery::COSValue& value, const char* className, const std::string& what) {
    return stateOf<State>(orrery::convenience::values::peekObject(value), className, what);
}

}  // namespace observatory

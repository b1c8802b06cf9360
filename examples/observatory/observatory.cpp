#include "observatory.hpp"

#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "astronomy.hpp"
#include "convenience/convenience.hpp"
#include "convenience/values.hpp"
#include "host/assumed_operations.hpp"
#include "snr_property.hpp"
#include "state.hpp"

namespace observatory {
namespace {

using namespace orrery;
using namespace orrery::convenience;

using SessionPtr = std::shared_ptr<Session>;
// Name and type id of each declared argument, in order.
using Arguments = std::vector<std::pair<std::string, std::string>>;

const std::string kTelescopeType = std::string(kTelescope) + " scalar";
const std::string kObservationType = std::string(kObservation) + " scalar";
const std::string kCatalogueType = std::string(kCatalogue) + " scalar";

// The host passes whatever its caller gave: every callable checks before it reads.
void expectInputs(const std::string& callable, int count, int expected) {
    if (count != expected)
        throw std::invalid_argument(callable + " takes " + std::to_string(expected) + " inputs, not " +
                                    std::to_string(count));
}

double numberAt(const std::string& callable, const COSValue* inputs, int index) {
    const auto number = values::readDouble(inputs[index]);
    if (!number || !std::isfinite(*number))
        throw std::invalid_argument("input " + std::to_string(index + 1) + " of " + callable +
                                    " must be a finite double scalar, not " + values::describeValue(inputs[index]));
    return *number;
}

double positiveAt(const std::string& callable, const COSValue* inputs, int index) {
    const double number = numberAt(callable, inputs, index);
    if (number <= 0)
        throw std::invalid_argument("input " + std::to_string(index + 1) + " of " + callable + " must be positive");
    return number;
}

std::string textAt(const std::string& callable, const COSValue* inputs, int index) {
    auto text = values::readText(inputs[index]);
    if (!text)
        throw std::invalid_argument("input " + std::to_string(index + 1) + " of " + callable + " must be text, not " +
                                    values::describeValue(inputs[index]));
    return std::move(*text);
}

// Asking for more outputs than there are is the caller's error, not something to answer
// with fewer. Callables with side effects check this before they act.
void expectOutputs(const std::string& callable, int outputCount, std::size_t available) {
    if (outputCount > static_cast<int>(available))
        throw std::invalid_argument(callable + " gives " + std::to_string(available) + " outputs, not " +
                                    std::to_string(outputCount));
}

// Fills as many outputs as the caller asked for.
void giveOutputs(const std::string& callable, int& outputCount, COSValue* outputs, std::vector<COSValue> results) {
    expectOutputs(callable, outputCount, results.size());
    for (int i = 0; i < outputCount; ++i) outputs[i] = std::move(results[static_cast<std::size_t>(i)]);
}

COSInterfacePtr newObject(const char* className) {
    COSClass* cls = COSClass::getClass(makeId(className));
    if (!cls) throw std::logic_error(std::string("the host has no class ") + className);
    return omCreateObject(cls);
}

template <class Record>
void declare(Record& record, const Arguments& inputs, const Arguments& outputs) {
    for (const auto& [name, type] : inputs) {
        record.inputNames.push_back(name);
        record.inputTypes.push_back(makeId(type));
    }
    for (const auto& [name, type] : outputs) {
        record.outputNames.push_back(name);
        record.outputTypes.push_back(makeId(type));
    }
}

template <class State>
void giveDataHooks(COSClassInfoStruct& record) {
    record.allocateDataFcn = [](COSInterface*) -> void* { return new State(); };
    record.objectDataFcn = [](COSInterface*, void* data) { delete static_cast<State*>(data); };
}

std::shared_ptr<COSMethodInfoStruct> method(const char* name, const Arguments& inputs, const Arguments& outputs,
                                            InvokeFcn call) {
    auto record = createMethod(name);
    declare(*record, inputs, outputs);
    record->invokeFcn = std::move(call);
    return record;
}

// A property of the class's objects; without a setter it is read-only.
template <class State>
std::shared_ptr<COSPropInfoStruct> property(const char* className, const char* name, const char* type,
                                            std::function<COSValue(const State&)> get,
                                            std::function<void(State&, const COSValue&)> set = {}) {
    auto record = createProperty(name);
    record->SetTypeAndImplicitFactoryDefaultFcn(makeId(type));
    const std::string member = std::string(className) + "." + name;
    record->getFcn = [className, member, get](COSInterface* object) {
        return get(stateOf<State>(object, className, "the object of " + member));
    };
    if (set) {
        record->setFcn = [className, member, set](COSInterface* object, COSValue value) {
            set(stateOf<State>(object, className, "the object of " + member), value);
        };
    } else {
        record->setterAccess = COSAccessPrivate;
        record->setFcn = [member](COSInterface*, COSValue) { throw std::logic_error(member + " is read-only"); };
    }
    return record;
}

double positiveValue(const std::string& property, const COSValue& value) {
    const auto number = values::readDouble(value);
    if (!number || !(*number > 0) || !std::isfinite(*number))
        throw std::invalid_argument(property + " must be a positive double scalar, not " +
                                    values::describeValue(value));
    return *number;
}

std::shared_ptr<COSClassInfoStruct> telescopeClass(const SessionPtr& session) {
    auto telescope = createClass("Telescope");
    telescope->description = "A telescope that points at the sky and makes observations";
    giveDataHooks<TelescopeState>(*telescope);
    // The host's class-wide notification: counted, for observatory.statistics to report.
    telescope->notifyFcn = [session] { ++session->notifications; };

    auto constructor = createConstructor();
    declare(*constructor, {{"name", "string scalar"}, {"aperture", "double scalar"}}, {});
    constructor->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                const COSValue* inputs) {
        const std::string self = kTelescope;
        expectInputs(self, inputCount, 2);
        std::string name = textAt(self, inputs, 0);
        const double aperture = positiveAt(self, inputs, 1);
        COSInterfacePtr object = newObject(kTelescope);
        auto& state = stateOf<TelescopeState>(object, kTelescope, self);
        state.name = std::move(name);
        state.aperture = aperture;
        giveOutputs(self, outputCount, outputs, {values::makeObject(object)});
    };
    telescope->addConstructor(constructor);

    telescope->addProperty(property<TelescopeState>(
        kTelescope, "name", "string scalar", [](const TelescopeState& t) { return values::makeString(t.name); }));
    telescope->addProperty(property<TelescopeState>(
        kTelescope, "aperture", "double scalar", [](const TelescopeState& t) { return values::makeDouble(t.aperture); },
        [](TelescopeState& t, const COSValue& value) {
            t.aperture = positiveValue("observatory.Telescope.aperture", value);
        }));
    telescope->addProperty(
        property<TelescopeState>(kTelescope, "observations", "double scalar",
                                 [](const TelescopeState& t) { return values::makeDouble(t.observations); }));

    telescope->addMethod(
        method("point", {{"self", kTelescopeType}, {"ra", "double scalar"}, {"dec", "double scalar"}}, {},
               [](const COSClient*, int& outputCount, COSValue*, int inputCount, const COSValue* inputs) {
                   const std::string self = "observatory.Telescope.point";
                   expectInputs(self, inputCount, 3);
                   auto& state = stateOf<TelescopeState>(inputs[0], kTelescope, "input 1 of " + self);
                   const double ra = numberAt(self, inputs, 1);
                   const double dec = numberAt(self, inputs, 2);
                   if (ra < 0 || ra >= 360) throw std::invalid_argument(self + ": ra must lie in [0, 360)");
                   if (dec < -90 || dec > 90) throw std::invalid_argument(self + ": dec must lie in [-90, 90]");
                   expectOutputs(self, outputCount, 0);
                   state.ra = ra;
                   state.dec = dec;
               }));
    telescope->addMethod(method(
        "pointing", {{"self", kTelescopeType}}, {{"ra", "double scalar"}, {"dec", "double scalar"}},
        [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue* inputs) {
            const std::string self = "observatory.Telescope.pointing";
            expectInputs(self, inputCount, 1);
            const auto& state = stateOf<TelescopeState>(inputs[0], kTelescope, "input 1 of " + self);
            giveOutputs(self, outputCount, outputs, {values::makeDouble(state.ra), values::makeDouble(state.dec)});
        }));
    telescope->addMethod(method(
        "observe", {{"self", kTelescopeType}, {"target", "string scalar"}, {"exposure", "double scalar"}},
        {{"observation", kObservationType}},
        [session](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue* inputs) {
            const std::string self = "observatory.Telescope.observe";
            expectInputs(self, inputCount, 3);
            auto& telescope = stateOf<TelescopeState>(inputs[0], kTelescope, "input 1 of " + self);
            std::string target = textAt(self, inputs, 1);
            const double exposure = positiveAt(self, inputs, 2);
            expectOutputs(self, outputCount, 1);
            COSInterfacePtr object = newObject(kObservation);
            stateOf<ObservationState>(object, kObservation, self) = {
                std::move(target), telescope.name, telescope.aperture, exposure, telescope.ra, telescope.dec};
            ++telescope.observations;
            ++session->observations;
            giveOutputs(self, outputCount, outputs, {values::makeObject(object)});
        }));
    telescope->addMethod(
        method("resolution", {{"self", kTelescopeType}}, {{"arcseconds", "double scalar"}},
               [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue* inputs) {
                   const std::string self = "observatory.Telescope.resolution";
                   expectInputs(self, inputCount, 1);
                   const auto& state = stateOf<TelescopeState>(inputs[0], kTelescope, "input 1 of " + self);
                   giveOutputs(self, outputCount, outputs, {values::makeDouble(resolution(state.aperture))});
               }));
    return telescope;
}

// What copyData copies: the host names one part of an observation by its property name,
// or all of it by the empty id.
void copyObservation(const ObservationState& from, ObservationState& to, const COSId& what) {
    const std::string& part = what.str();
    if (part.empty()) {
        to = from;
    } else if (part == "target") {  // the position belongs to the target
        to.target = from.target;
        to.ra = from.ra;
        to.dec = from.dec;
    } else if (part == "telescope") {
        to.telescope = from.telescope;
        to.aperture = from.aperture;
    } else if (part == "exposure") {
        to.exposure = from.exposure;
    } else {
        throw std::invalid_argument("an observatory.Observation has no part " + part + " to copy");
    }
}

std::shared_ptr<COSClassInfoStruct> observationClass(const SessionPtr& session) {
    auto observation = createClass("Observation");
    observation->description = "One exposure of one target, made by Telescope.observe";
    giveDataHooks<ObservationState>(*observation);
    // Only a telescope makes observations: the host's users cannot.
    observation->addConstructor(createUnsupportedConstructor(kObservation));
    // Runs before the records' members reach the host class; snr joins them as the host's
    // own metadata, which the host class owns from here on.
    observation->populateClassFcn = [](COSClass* cls, const COSClient*) {
        cls->addPropertyInfo(new SignalToNoiseProperty());
    };
    observation->copyDataFcn = [session](const COSInterface* source, COSInterface* target, const COSId& what) {
        // The host hands the source as const; reading its data needs the plain pointer.
        const auto& from =
            stateOf<ObservationState>(const_cast<COSInterface*>(source), kObservation, "the copy's source");
        copyObservation(from, stateOf<ObservationState>(target, kObservation, "the copy's target"), what);
        ++session->copies;
    };

    observation->addProperty(
        property<ObservationState>(kObservation, "target", "string scalar",
                                   [](const ObservationState& o) { return values::makeString(o.target); }));
    observation->addProperty(
        property<ObservationState>(kObservation, "telescope", "string scalar",
                                   [](const ObservationState& o) { return values::makeString(o.telescope); }));
    observation->addProperty(property<ObservationState>(
        kObservation, "exposure", "double scalar",
        [](const ObservationState& o) { return values::makeDouble(o.exposure); },
        [](ObservationState& o, const COSValue& value) {
            o.exposure = positiveValue("observatory.Observation.exposure", value);
        }));
    return observation;
}

std::shared_ptr<COSClassInfoStruct> catalogueClass() {
    auto catalogue = createClass("Catalogue");
    catalogue->description = "A named list of observations";
    giveDataHooks<CatalogueState>(*catalogue);
    // The constructor goes straight to the host class when it is set up: attaching takes
    // the constructor's name and output from the host class itself.
    catalogue->populateClassFcn = [](COSClass* cls, const COSClient*) {
        auto constructor = createConstructor();
        declare(*constructor, {{"name", "string scalar"}}, {});
        constructor->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                    const COSValue* inputs) {
            const std::string self = kCatalogue;
            expectInputs(self, inputCount, 1);
            std::string name = textAt(self, inputs, 0);
            COSInterfacePtr object = newObject(kCatalogue);
            stateOf<CatalogueState>(object, kCatalogue, self).name = std::move(name);
            giveOutputs(self, outputCount, outputs, {values::makeObject(object)});
        };
        constructor->attach(cls);
    };

    catalogue->addProperty(property<CatalogueState>(
        kCatalogue, "name", "string scalar", [](const CatalogueState& c) { return values::makeString(c.name); }));
    catalogue->addProperty(property<CatalogueState>(kCatalogue, "count", "double scalar", [](const CatalogueState& c) {
        return values::makeDouble(static_cast<double>(c.entries.size()));
    }));

    // Any number of observations at once; all are checked before any is added.
    auto add =
        method("add", {{"self", kCatalogueType}}, {{"count", "double scalar"}},
               [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue* inputs) {
                   const std::string self = "observatory.Catalogue.add";
                   if (inputCount < 1) throw std::invalid_argument(self + " needs the catalogue as input 1");
                   auto& catalogue = stateOf<CatalogueState>(inputs[0], kCatalogue, "input 1 of " + self);
                   std::vector<ObservationState> added;
                   for (int i = 1; i < inputCount; ++i)
                       added.push_back(stateOf<ObservationState>(inputs[i], kObservation,
                                                                 "input " + std::to_string(i + 1) + " of " + self));
                   expectOutputs(self, outputCount, 1);
                   catalogue.entries.insert(catalogue.entries.end(), added.begin(), added.end());
                   giveOutputs(self, outputCount, outputs,
                               {values::makeDouble(static_cast<double>(catalogue.entries.size()))});
               });
    add->hasVarargin = true;
    catalogue->addMethod(add);
    catalogue->addMethod(method(
        "totalExposure", {{"self", kCatalogueType}}, {{"seconds", "double scalar"}},
        [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount, const COSValue* inputs) {
            const std::string self = "observatory.Catalogue.totalExposure";
            expectInputs(self, inputCount, 1);
            double total = 0;
            for (const auto& entry : stateOf<CatalogueState>(inputs[0], kCatalogue, "input 1 of " + self).entries)
                total += entry.exposure;
            giveOutputs(self, outputCount, outputs, {values::makeDouble(total)});
        }));
    return catalogue;
}

std::shared_ptr<COSNamespaceFunctionInfoStruct> statisticsFunction(const SessionPtr& session) {
    auto statistics = createFunction("statistics");
    statistics->description = "observations made, observation copies and telescope notifications so far";
    declare(*statistics, {},
            {{"observations", "double scalar"}, {"copies", "double scalar"}, {"notifications", "double scalar"}});
    statistics->invokeFcn = [session](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                      const COSValue*) {
        const std::string self = "observatory.statistics";
        expectInputs(self, inputCount, 0);
        giveOutputs(self, outputCount, outputs,
                    {values::makeDouble(session->observations), values::makeDouble(session->copies),
                     values::makeDouble(session->notifications)});
    };
    return statistics;
}

// observatory.sky: functions of sky positions. Their argument names are left to the
// library (Input_1, ..., Output_1, ...).
std::shared_ptr<COSNamespaceInfoStruct> skyNamespace() {
    auto sky = createNamespace("sky");
    sky->description = "Angles on the sky";

    auto separationFunction = createFunction("separation");
    separationFunction->description = "angular separation of (ra1, dec1) and (ra2, dec2), in degrees";
    separationFunction->inputTypes.assign(4, makeId("double scalar"));
    separationFunction->outputTypes = {makeId("double scalar")};
    separationFunction->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                       const COSValue* inputs) {
        const std::string self = "observatory.sky.separation";
        expectInputs(self, inputCount, 4);
        double angles[4];
        for (int i = 0; i < 4; ++i) angles[i] = numberAt(self, inputs, i);
        giveOutputs(self, outputCount, outputs,
                    {values::makeDouble(separation(angles[0], angles[1], angles[2], angles[3]))});
    };
    sky->addFunction(separationFunction);

    // One airmass per altitude given, as many as asked for.
    auto airmassFunction = createFunction("airmass");
    airmassFunction->description = "the airmass at each altitude given, in degrees";
    airmassFunction->outputTypes = {makeId("double scalar")};
    airmassFunction->hasVarargin = true;
    airmassFunction->hasVarargout = true;
    airmassFunction->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                    const COSValue* inputs) {
        const std::string self = "observatory.sky.airmass";
        if (inputCount < 1) throw std::invalid_argument(self + " needs at least one altitude");
        std::vector<COSValue> results;
        for (int i = 0; i < inputCount; ++i) {
            const double altitude = numberAt(self, inputs, i);
            if (!(altitude > 0 && altitude <= 90))
                throw std::invalid_argument("input " + std::to_string(i + 1) + " of " + self +
                                            " must be an altitude in (0, 90] degrees");
            results.push_back(values::makeDouble(airmass(altitude)));
        }
        giveOutputs(self, outputCount, outputs, std::move(results));
    };
    sky->addFunction(airmassFunction);
    return sky;
}

}  // namespace

std::shared_ptr<COSNamespaceInfoStruct> defineObservatory() {
    auto session = std::make_shared<Session>();
    auto root = createNamespace("observatory");
    root->description = "Telescopes, their observations and catalogues of them";
    root->addClass(telescopeClass(session));
    root->addClass(observationClass(session));
    root->addClass(catalogueClass());
    root->addFunction(statisticsFunction(session));
    // The inner namespace joins from its own side; the parent lists it just the same.
    skyNamespace()->attach(root);
    return root;
}

}  // namespace observatory

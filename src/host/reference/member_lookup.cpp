#include "host/reference/member_lookup.hpp"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "host/assumed_operations.hpp"
#include "host/exception.hpp"
#include "host/reference/class_object.hpp"
#include "host/reference/detail/lookup_generation.hpp"
#include "host/reference/registry.hpp"

namespace orrery::reference {

struct AmbiguousMember;

namespace {

using foundation::core::except::Exception;
using foundation::core::except::Message;

// A superclass's member of that name as it is inherited: its constructor is not.
COSPropInfo* declared(ClassObject& cls, const std::string& name, COSPropInfo*) { return cls.findProperty(name); }
COSMethodInfo* declared(ClassObject& cls, const std::string& name, COSMethodInfo*) {
    COSMethodInfo* method = cls.findMethod(name);
    return method && method == cls.findConstructor() ? nullptr : method;
}
COSPropInfo* constructorOf(ClassObject&, COSPropInfo*) { return nullptr; }
COSMethodInfo* constructorOf(ClassObject& cls, COSMethodInfo*) { return cls.findConstructor(); }

// The class's own member of that name, its constructor included.
COSPropInfo* own(ClassObject& cls, const std::string& name, COSPropInfo*) { return cls.findProperty(name); }
COSMethodInfo* own(ClassObject& cls, const std::string& name, COSMethodInfo*) { return cls.findMethod(name); }

bool isAbstract(COSPropInfo*) { return false; }
bool isAbstract(COSMethodInfo* method) { return omIsAbstractMethod(*method); }

template <class Info>
struct Candidate {
    Info* info;
    ClassObject* owner;
};

// The classes among `owners` that another of them inherits from. One walk up from all of
// them at once, each class labelled with the owner it was reached from, or with "several"
// once two owners reach it: a name declared on every level of a long chain is settled in
// one pass over the chain, not one per pair of declarations. A class reached only from
// itself (through a cycle) is not overridden.
std::unordered_set<ClassObject*> overriddenOwners(const std::vector<ClassObject*>& owners) {
    ClassObject* const several = nullptr;  // owners are never null
    std::unordered_map<ClassObject*, ClassObject*> reachedFrom;
    std::vector<std::pair<ClassObject*, ClassObject*>> pending;  // a class to walk up from, and its label
    pending.reserve(owners.size());
    for (ClassObject* owner : owners) pending.emplace_back(owner, owner);
    while (!pending.empty()) {
        const auto [from, label] = pending.back();
        pending.pop_back();
        for (const SuperclassRecord& entry : from->superclasses()) {
            ClassObject* super = findClass(entry.id.str());
            if (!super) continue;
            auto [reached, fresh] = reachedFrom.try_emplace(super, label);
            if (!fresh) {
                if (reached->second == several || reached->second == label) continue;
                reached->second = several;  // each class is walked up from at most twice
            }
            pending.emplace_back(super, reached->second);
        }
    }
    std::unordered_set<ClassObject*> overridden;
    for (ClassObject* owner : owners)
        if (auto reached = reachedFrom.find(owner); reached != reachedFrom.end() && reached->second != owner)
            overridden.insert(owner);
    return overridden;
}

// Of the superclasses' members of one name (in lookup order), those that nothing
// overrides: one when the name resolves, several when it is ambiguous.
template <class Info>
std::vector<Candidate<Info>> narrowed(std::vector<Candidate<Info>> found) {
    if (found.size() < 2) return found;
    // A member that a subclass of its class redeclares is overridden on that path.
    std::vector<ClassObject*> owners;
    owners.reserve(found.size());
    for (const auto& candidate : found) owners.push_back(candidate.owner);
    const std::unordered_set<ClassObject*> overridden = overriddenOwners(owners);
    std::vector<Candidate<Info>> kept;
    for (const auto& candidate : found)
        if (!overridden.contains(candidate.owner)) kept.push_back(candidate);
    // An implementation satisfies an abstract declaration met on another path.
    if (std::any_of(kept.begin(), kept.end(), [](const Candidate<Info>& c) { return !isAbstract(c.info); }))
        kept.erase(
            std::remove_if(kept.begin(), kept.end(), [](const Candidate<Info>& c) { return isAbstract(c.info); }),
            kept.end());
    return kept;
}

template <class Info>
std::vector<Candidate<Info>> inheritedCandidates(ClassObject& cls, const std::string& name) {
    std::vector<Candidate<Info>> found;
    for (ClassObject* super : superclassOrder(cls))
        if (Info* info = declared(*super, name, static_cast<Info*>(nullptr))) found.push_back({info, super});
    return narrowed(std::move(found));
}

template <class Info>
std::vector<std::string> ownerIds(const std::vector<Candidate<Info>>& candidates) {
    std::vector<std::string> ids;
    ids.reserve(candidates.size());
    for (const auto& candidate : candidates) ids.push_back(candidate.owner->getClassID().str());
    return ids;
}

[[noreturn]] void raiseAmbiguous(ClassObject& cls, const std::string& name, const std::vector<std::string>& owners) {
    std::string list;
    for (std::size_t i = 0; i < owners.size(); ++i)
        list += (i == 0 ? "" : i + 1 == owners.size() ? " and " : ", ") + ("'" + owners[i] + "'");
    throw Exception<AmbiguousMember>(Message{{name, cls.getClassID().str(), list}, "orrery:class", "AmbiguousMember"});
}

// Inherited members found before, per class and name, so that a call through a
// superclass's method costs about what a call of the class's own does. Forgotten as a
// whole when the classes change (detail/lookup_generation.hpp); names not found and
// ambiguous ones are looked up each time.
template <class Resolved>
class Remembered {
public:
    bool find(const ClassObject& cls, const std::string& name, Resolved& out) {
        std::lock_guard guard(lock_);
        forgetIfStale();
        auto byClass = found_.find(&cls);
        if (byClass == found_.end()) return false;
        auto byName = byClass->second.find(name);
        if (byName == byClass->second.end()) return false;
        out = byName->second;
        return true;
    }
    void keep(const ClassObject& cls, const std::string& name, const Resolved& resolved) {
        std::lock_guard guard(lock_);
        forgetIfStale();
        found_[&cls][name] = resolved;
    }

private:
    void forgetIfStale() {
        const std::uint64_t now = detail::lookupGeneration().load(std::memory_order_acquire);
        if (now == generation_) return;
        found_.clear();
        generation_ = now;
    }

    std::mutex lock_;
    std::uint64_t generation_ = 0;
    std::unordered_map<const ClassObject*, std::unordered_map<std::string, Resolved>> found_;
};

template <class Resolved>
Remembered<Resolved>& remembered() {
    // Never destroyed: lookups may run during static destruction.
    static auto* instance = new Remembered<Resolved>();
    return *instance;
}

template <class Info, class Resolved>
Resolved resolve(ClassObject& cls, const std::string& name) {
    if (Info* info = own(cls, name, static_cast<Info*>(nullptr))) return {info, &cls};
    Resolved resolved;
    if (remembered<Resolved>().find(cls, name, resolved)) return resolved;
    const auto candidates = inheritedCandidates<Info>(cls, name);
    if (candidates.size() > 1) raiseAmbiguous(cls, name, ownerIds(candidates));
    if (candidates.empty()) return {};
    resolved = {candidates.front().info, candidates.front().owner};
    remembered<Resolved>().keep(cls, name, resolved);
    return resolved;
}

template <class Info, class Resolved>
void collect(ClassObject& cls, const std::vector<Info*>& (ClassObject::*members)() const,
             std::vector<Resolved>& resolved, std::vector<InheritedMembers::Ambiguous>& ambiguous) {
    // One walk over the superclasses' members, grouping each name's declarations in
    // lookup order: a name is then settled without walking the superclasses again.
    struct Declarations {
        std::vector<Candidate<Info>> found;
        ClassObject* lastOwner = nullptr;  ///< a class declaring a name twice counts once, as its first
    };
    std::unordered_set<std::string> ownNames;
    for (Info* info : (cls.*members)())
        if (info && info->getName()) ownNames.insert(info->getName());
    std::vector<std::string> names;
    std::unordered_map<std::string, Declarations> byName;
    for (ClassObject* super : superclassOrder(cls)) {
        Info* constructor = constructorOf(*super, static_cast<Info*>(nullptr));
        for (Info* info : (super->*members)()) {
            if (!info || !info->getName()) continue;
            std::string name = info->getName();
            if (ownNames.contains(name)) continue;
            auto [entry, fresh] = byName.try_emplace(name);
            if (fresh) names.push_back(std::move(name));
            Declarations& declarations = entry->second;
            if (declarations.lastOwner == super) continue;
            declarations.lastOwner = super;
            if (info != constructor) declarations.found.push_back({info, super});
        }
    }
    for (const std::string& name : names) {
        const auto candidates = narrowed(std::move(byName[name].found));
        if (candidates.size() == 1)
            resolved.push_back({candidates.front().info, candidates.front().owner});
        else if (candidates.size() > 1)
            ambiguous.push_back({name, ownerIds(candidates)});
    }
}

}  // namespace

namespace detail {
std::atomic<std::uint64_t>& lookupGeneration() {
    static std::atomic<std::uint64_t> generation{1};
    return generation;
}
}  // namespace detail

std::vector<ClassObject*> superclassOrder(ClassObject& cls) {
    // Depth-first, each class once; the class itself is never its own superclass, even
    // when a cycle leads back to it. The stack is explicit: a plugin's chain of
    // superclasses may be far deeper than the call stack.
    struct Step {
        ClassObject* from;
        std::size_t next;  ///< the index of the superclass entry to visit next
    };
    std::vector<ClassObject*> order;
    std::unordered_set<ClassObject*> met{&cls};
    std::vector<Step> path{{&cls, 0}};
    while (!path.empty()) {
        Step& step = path.back();
        const std::vector<SuperclassRecord>& supers = step.from->superclasses();
        if (step.next >= supers.size()) {
            path.pop_back();
            continue;
        }
        ClassObject* super = findClass(supers[step.next++].id.str());
        if (!super || !met.insert(super).second) continue;
        order.push_back(super);
        path.push_back({super, 0});
    }
    return order;
}

ResolvedProperty resolveProperty(ClassObject& cls, const std::string& name) {
    return resolve<COSPropInfo, ResolvedProperty>(cls, name);
}

ResolvedMethod resolveMethod(ClassObject& cls, const std::string& name) {
    return resolve<COSMethodInfo, ResolvedMethod>(cls, name);
}

InheritedMembers inheritedMembers(ClassObject& cls) {
    InheritedMembers members;
    collect<COSPropInfo>(cls, &ClassObject::properties, members.properties, members.ambiguousProperties);
    collect<COSMethodInfo>(cls, &ClassObject::methods, members.methods, members.ambiguousMethods);
    return members;
}

}  // namespace orrery::reference

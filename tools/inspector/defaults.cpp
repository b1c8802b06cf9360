#include "defaults.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <variant>

#include "convenience/convenience.hpp"
#include "host/reference/reference_host.hpp"
#include "number_text.hpp"

namespace orrery::inspector {
namespace {

// An answer as the query gives it; turned into text only when it differs, since most
// answers are the defaults and there are many of them.
using Answer = QueryAnswer;

std::string text(const Answer& answer) {
    if (const bool* flag = std::get_if<bool>(&answer)) return *flag ? "true" : "false";
    if (const std::int64_t* number = std::get_if<std::int64_t>(&answer)) return std::to_string(*number);
    return numberText(std::get<double>(answer));
}

template <class Info>
struct Query {
    const char* name;
    Answer (*answer)(Info&);
};

template <class T>
Answer answerOf(T value) {
    if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, double>)
        return value;
    else
        return static_cast<std::int64_t>(value);
}

template <class Info, auto member>
Answer ask(Info& info) {
    return answerOf((info.*member)());
}

// Spells each query's name once; `fn` is a member name, which cannot be parenthesized.
// clang-format off
// NOLINTNEXTLINE(bugprone-macro-parentheses)
#define ORRERY_QUERY(Info, fn) Query<Info>{#fn, &ask<Info, &Info::fn>}
// clang-format on
#define CLASS_QUERY(fn) ORRERY_QUERY(COSClassInfo, fn)
#define PROPERTY_QUERY(fn) ORRERY_QUERY(COSPropInfo, fn)
#define METHOD_QUERY(fn) ORRERY_QUERY(COSMethodInfo, fn)

// In slot order, as the host asks.
const Query<COSClassInfo> classQueries[] = {
    CLASS_QUERY(getClassInt1),  CLASS_QUERY(isClassFlag1),  CLASS_QUERY(isClassFlag7),
    CLASS_QUERY(isClassFlag8),  CLASS_QUERY(isClassFlag9),  CLASS_QUERY(isClassFlag6),
    CLASS_QUERY(isClassFlag4),  CLASS_QUERY(getClassInt2),  CLASS_QUERY(getClassInt3),
    CLASS_QUERY(isClassFlag13), CLASS_QUERY(isClassFlag3),  CLASS_QUERY(isClassFlag14),
    CLASS_QUERY(isClassFlag2),  CLASS_QUERY(isClassFlag15), CLASS_QUERY(isClassFlag5),
    CLASS_QUERY(isClassFlag16), CLASS_QUERY(isClassFlag17), CLASS_QUERY(isClassFlag11),
    CLASS_QUERY(isClassFlag10), CLASS_QUERY(getClassInt64), CLASS_QUERY(areClassFunctionsAllowed),
    CLASS_QUERY(isClassFlag18), CLASS_QUERY(isClassFlag19), CLASS_QUERY(isClassFlag20),
    CLASS_QUERY(isClassFlag21), CLASS_QUERY(isClassFlag22), CLASS_QUERY(getClassInt4),
    CLASS_QUERY(isClassFlag23), CLASS_QUERY(isClassFlag12), CLASS_QUERY(willAllocateData),
};

const Query<COSPropInfo> propertyQueries[] = {
    PROPERTY_QUERY(isSealed),
    PROPERTY_QUERY(hasInternalDefault),
    PROPERTY_QUERY(isPropertyAttribute1),
    PROPERTY_QUERY(isPropertyAttribute2),
    PROPERTY_QUERY(isPropertyAttribute3),
    PROPERTY_QUERY(isPropertyAttribute4),
    PROPERTY_QUERY(isPropertyAttribute5),
    PROPERTY_QUERY(isPropertyAttribute6),
    PROPERTY_QUERY(isWarnOnCopyError),
    PROPERTY_QUERY(isPropertyAttribute7),
    PROPERTY_QUERY(isPropertyAttribute8),
    PROPERTY_QUERY(isPropertyAttribute9),
    PROPERTY_QUERY(isPropertyAttribute10),
    PROPERTY_QUERY(isPropertyAttribute11),
    PROPERTY_QUERY(isNeverAmbiguous),
    PROPERTY_QUERY(getPartialMatchPriority),
    PROPERTY_QUERY(isPropertyAttribute12),
    PROPERTY_QUERY(isPropertyAttribute13),
    PROPERTY_QUERY(isPropertyAttribute14),
    PROPERTY_QUERY(isWeakReference),
};

const Query<COSMethodInfo> methodQueries[] = {
    METHOD_QUERY(isLookupScope), METHOD_QUERY(isAttribute1), METHOD_QUERY(isAttribute2), METHOD_QUERY(isAttribute3),
    METHOD_QUERY(isAttribute4),  METHOD_QUERY(isAttribute5), METHOD_QUERY(isAttribute6), METHOD_QUERY(isAttribute7),
    METHOD_QUERY(isAttribute8),  METHOD_QUERY(isAttribute9),
};

template <class Info, std::size_t N>
std::vector<Answer> answers(const Query<Info> (&queries)[N], Info& info) {
    std::vector<Answer> out;
    out.reserve(N);
    for (const auto& query : queries) out.push_back(query.answer(info));
    return out;
}

template <class Info, std::size_t N>
std::vector<Difference> differences(const Query<Info> (&queries)[N], Info& info, const std::vector<Answer>& fresh) {
    std::vector<Difference> out;
    for (std::size_t i = 0; i < N; ++i) {
        const Answer answer = queries[i].answer(info);
        if (answer != fresh[i]) out.push_back({queries[i].name, text(answer)});
    }
    return out;
}

}  // namespace

Defaults::Defaults() {
    using namespace convenience;
    // Names no plugin can publish: dotted names never start with a blank.
    reference::ClassObject* probe = reference::defineClass(" inspector probe");
    createProperty("p")->attach(probe);
    createMethod("m")->attach(probe);
    createConstructor()->attach(probe);
    property_ = answers(propertyQueries, *probe->properties().at(0));
    method_ = answers(methodQueries, *probe->methods().at(0));
    constructor_ = answers(methodQueries, *probe->methods().at(1));

    reference::Package* package = reference::definePackage(" inspector probe");
    createFunction("f")->attach(package);
    createClass("C")->attach(package);
    for (const reference::PackageEntry& entry : package->entries()) {
        if (entry.functionInfo) function_ = answers(methodQueries, *entry.functionInfo);
        if (entry.classInfo) class_ = answers(classQueries, *entry.classInfo);
    }
}

std::vector<Difference> Defaults::of(COSClassInfo& info) const { return differences(classQueries, info, class_); }

std::vector<Difference> Defaults::of(COSPropInfo& info) const { return differences(propertyQueries, info, property_); }

std::vector<Difference> Defaults::of(COSMethodInfo& info, CallableKind kind) const {
    const auto& fresh = kind == CallableKind::method        ? method_
                        : kind == CallableKind::constructor ? constructor_
                                                            : function_;
    return differences(methodQueries, info, fresh);
}

std::string accessName(unsigned level) {
    switch (level) {
        case COSAccessPublic: return "public";
        case COSAccessProtected: return "protected";
        case COSAccessPrivate: return "private";
        case COSAccessImmutable: return "immutable";
        default: return std::to_string(level);
    }
}

}  // namespace orrery::inspector

#pragma once

// The typed layer's call machinery: how one C++ callable becomes a record's invokeFcn.
// Inputs are checked for their number and converted one by one, the callable runs, its
// result becomes the outputs. Failures are the host errors of typed/errors.hpp.

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "convenience/typed/converter.hpp"
#include "convenience/typed/errors.hpp"
#include "convenience/typed/exception_translation.hpp"
#include "convenience/values.hpp"
#include "host/exception.hpp"
#include "host/interned.hpp"
#include "host/value.hpp"

namespace orrery::convenience::typed::detail {

template <class... T>
struct TypeList {};

// ----- What a callable takes and gives ----------------------------------------------------

template <class F>
struct CallableTraits : CallableTraits<decltype(&F::operator())> {};  // lambdas and functors
template <class R, class... A>
struct CallableTraits<R (*)(A...)> {
    using Result = R;
    using Params = TypeList<A...>;
};
template <class R, class... A>
struct CallableTraits<R (*)(A...) noexcept> : CallableTraits<R (*)(A...)> {};
template <class R, class... A>
struct CallableTraits<R(A...)> : CallableTraits<R (*)(A...)> {};
// The call operator of a lambda or functor: its own object is not a parameter.
template <class R, class C, class... A>
struct CallableTraits<R (C::*)(A...)> : CallableTraits<R (*)(A...)> {};
template <class R, class C, class... A>
struct CallableTraits<R (C::*)(A...) const> : CallableTraits<R (*)(A...)> {};
template <class R, class C, class... A>
struct CallableTraits<R (C::*)(A...) noexcept> : CallableTraits<R (*)(A...)> {};
template <class R, class C, class... A>
struct CallableTraits<R (C::*)(A...) const noexcept> : CallableTraits<R (*)(A...)> {};

// A member function of T (or of a base of T) as a callable whose first parameter is the
// object: T& for a member function, const T& for a const one. Anything else is already
// such a callable.
template <class T, class F>
struct AsFreeCallable {
    static F make(F f) { return f; }
};

template <class T, class Self, class R, class C, class Member, class... A>
auto memberCall(Member member) {
    static_assert(std::is_base_of_v<C, T>, "the member function belongs to another class");
    return [member](Self self, A... args) -> R { return (self.*member)(std::forward<A>(args)...); };
}

template <class T, class R, class C, class... A>
struct AsFreeCallable<T, R (C::*)(A...)> {
    static auto make(R (C::*member)(A...)) { return memberCall<T, T&, R, C, decltype(member), A...>(member); }
};
template <class T, class R, class C, class... A>
struct AsFreeCallable<T, R (C::*)(A...) const> {
    static auto make(R (C::*member)(A...) const) {
        return memberCall<T, const T&, R, C, decltype(member), A...>(member);
    }
};
template <class T, class R, class C, class... A>
struct AsFreeCallable<T, R (C::*)(A...) noexcept> {
    static auto make(R (C::*member)(A...) noexcept) { return memberCall<T, T&, R, C, decltype(member), A...>(member); }
};
template <class T, class R, class C, class... A>
struct AsFreeCallable<T, R (C::*)(A...) const noexcept> {
    static auto make(R (C::*member)(A...) const noexcept) {
        return memberCall<T, const T&, R, C, decltype(member), A...>(member);
    }
};

// ----- Inputs -----------------------------------------------------------------------------

// A parameter filled by conversion: the converted value, then moved (or lent) to the call.
template <class P>
struct ValueArg {
    using V = std::remove_cvref_t<P>;
    using Holder = std::optional<V>;
    static constexpr bool optional = isOptional<V>;
    static COSId typeId() { return Converter<V>::typeId(); }
    static std::string expected() { return Converter<V>::expected(); }
    static bool load(const COSValue& value, Holder& holder) {
        holder = Converter<V>::read(value);
        return holder.has_value();
    }
    static std::string describe(const COSValue& value) { return values::describeValue(value); }
    static decltype(auto) pass(Holder& holder) {
        if constexpr (std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>)
            return (*holder);
        else
            return std::move(*holder);
    }
};

// A bound class by reference or by value: the host object's own C++ object.
template <class P>
struct BoundArg {
    using V = std::remove_cvref_t<P>;
    using Holder = V*;
    static constexpr bool optional = false;
    static COSId typeId() { return Converter<V>::typeId(); }
    static std::string expected() { return Converter<V>::expected(); }
    static bool load(const COSValue& value, Holder& holder) noexcept {
        holder = objectAs<V>(values::peekObject(value));
        return holder != nullptr;
    }
    static std::string describe(const COSValue& value) {
        COSInterface* object = values::peekObject(value);
        return object ? describeObject<V>(object) : values::describeValue(value);
    }
    static V& pass(Holder holder) noexcept { return *holder; }
};

// A pointer to a bound class: the same object, as a pointer.
template <class P>
struct BoundPointerArg : BoundArg<std::remove_pointer_t<P>> {
    static std::remove_pointer_t<P>* pass(std::remove_cv_t<std::remove_pointer_t<P>>* holder) noexcept {
        return holder;
    }
};

template <class P>
consteval auto argKind() {
    if constexpr (std::is_pointer_v<P>) {
        static_assert(BoundClass<std::remove_cv_t<std::remove_pointer_t<P>>>, "pointers only to bound classes");
        return std::type_identity<BoundPointerArg<P>>();
    } else if constexpr (BoundClass<std::remove_cvref_t<P>>) {
        return std::type_identity<BoundArg<P>>();
    } else {
        return std::type_identity<ValueArg<P>>();
    }
}
template <class P>
using Arg = typename decltype(argKind<P>())::type;

// Inputs up to the last one that is not optional: trailing optional inputs may be left out.
template <class... P>
constexpr int requiredInputs() {
    int required = 0, position = 0;
    ((++position, required = Arg<P>::optional ? required : position), ...);
    return required;
}

/// The type id of V for a member being defined; a bound class not bound yet is reported
/// with the member and what of it has that type ("input 2 (other)").
template <class V>
COSId typeIdFor(const std::string& member, const std::string& what) {
    try {
        return Converter<V>::typeId();
    } catch (const UnboundClassError& error) {
        throw std::logic_error(member + ": " + what + " is a " + error.typeName +
                               ", and no class is bound to that C++ type yet: bind it with defineClass before "
                               "defining " +
                               member);
    }
}

/// "input 2 (other)"
inline std::string parameterText(const char* direction, std::size_t index, const std::vector<std::string>& names) {
    std::string text = std::string(direction) + " " + std::to_string(index + 1);
    return index < names.size() ? text + " (" + names[index] + ")" : text;
}

// ----- Outputs ----------------------------------------------------------------------------

template <class R>
struct Results {
    using V = std::remove_cvref_t<R>;
    static_assert(!(std::is_reference_v<R> && BoundClass<V>),
                  "a bound object cannot be returned by reference: return it by value (a new host object)");
    static constexpr int count = 1;
    static std::vector<COSId> typeIds(const std::string& member, const std::vector<std::string>& names) {
        return {typeIdFor<V>(member, parameterText("output", 0, names))};
    }
    template <class X>
    static int write(X&& result, COSValue* outputs, int wanted) {
        if (wanted < 1) return 0;
        outputs[0] = Converter<V>::make(std::forward<X>(result));
        return 1;
    }
};
template <>
struct Results<void> {
    static constexpr int count = 0;
    static std::vector<COSId> typeIds(const std::string&, const std::vector<std::string>&) { return {}; }
};
template <class... E>
struct TupleResults {
    static constexpr int count = static_cast<int>(sizeof...(E));
    static std::vector<COSId> typeIds(const std::string& member, const std::vector<std::string>& names) {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return std::vector<COSId>{typeIdFor<std::remove_cvref_t<E>>(member, parameterText("output", I, names))...};
        }
        (std::index_sequence_for<E...>());
    }
    template <class X>
    static int write(X&& result, COSValue* outputs, int wanted) {
        const int written = wanted < count ? (wanted < 0 ? 0 : wanted) : count;
        writeEach(std::forward<X>(result), outputs, written, std::index_sequence_for<E...>());
        return written;
    }
    template <class X, std::size_t... I>
    static void writeEach(X&& result, COSValue* outputs, int written, std::index_sequence<I...>) {
        ((static_cast<int>(I) < written
              ? void(outputs[I] = Converter<std::remove_cvref_t<E>>::make(std::get<I>(std::forward<X>(result))))
              : void()),
         ...);
    }
};
template <class... E>
struct Results<std::tuple<E...>> : TupleResults<E...> {};
template <class A, class B>
struct Results<std::pair<A, B>> : TupleResults<A, B> {};

// ----- Names for messages -----------------------------------------------------------------

/// Where a call lands, for messages: the member's full name and its parameters' names.
struct CallSite {
    std::string member;  ///< "geo.Polygon.addVertex"
    std::vector<std::string> inputNames;  ///< one per parameter
    std::vector<std::string> outputNames;  ///< one per output

    /// "3 inputs (self, x, y)", "1 to 2 inputs (a, b)", "no inputs"
    std::string inputsText(int required) const { return countText(required, inputNames, "input"); }
    std::string outputsText() const { return countText(static_cast<int>(outputNames.size()), outputNames, "output"); }

    static std::string countText(int required, const std::vector<std::string>& names, const char* noun) {
        const int total = static_cast<int>(names.size());
        if (total == 0) return std::string("no ") + noun + "s";
        std::string text = std::to_string(total);
        if (required < total) text = std::to_string(required) + " to " + text;
        text += std::string(" ") + noun + (total == 1 && required == total ? "" : "s") + " (";
        for (int i = 0; i < total; ++i) text += (i ? ", " : "") + names[static_cast<std::size_t>(i)];
        return text + ")";
    }
};

/// The given names, or the host's generated ones ("Input_1", ...) when there are none;
/// std::invalid_argument when a given list does not name every one of `count`.
/// `direction` is "input" or "output".
inline std::vector<std::string> namesFor(const std::vector<std::string>& given, std::size_t count,
                                         const std::string& direction, const std::string& member) {
    if (given.empty()) {
        std::vector<std::string> generated;
        const std::string prefix = direction == "input" ? "Input_" : "Output_";
        for (std::size_t i = 1; i <= count; ++i) generated.push_back(prefix + std::to_string(i));
        return generated;
    }
    if (given.size() != count)
        throw std::invalid_argument(member + ": " + std::to_string(given.size()) + " " + direction + " names given, " +
                                    std::to_string(count) + " needed");
    return given;
}

/// Runs bound code: a host error passes unchanged, an exception of a type with a registered
/// translator becomes its host error, any other a CppExceptionError naming the member.
template <class F>
decltype(auto) guarded(const CallSite& site, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        raiseCurrentException(site.member);
    }
}

/// Makes outputs: a bound result whose class the host lacks is reported for the member.
template <class F>
decltype(auto) converting(const CallSite& site, F&& body) {
    try {
        return std::forward<F>(body)();
    } catch (const ClassNotAvailableError& error) {
        raiseClassNotAvailable(site.member, std::get<std::string>(error.message().arguments.at(1)));
    }
}

// ----- The call -----------------------------------------------------------------------------

/// The invokeFcn of a typed member: Fn called with parameters P..., giving R.
template <class Fn, class R, class Params>
class Invoker;

template <class Fn, class R, class... P>
class Invoker<Fn, R, TypeList<P...>> {
public:
    static constexpr int total = static_cast<int>(sizeof...(P));
    static constexpr int required = requiredInputs<P...>();

    Invoker(Fn fn, std::shared_ptr<const CallSite> site) : fn_(std::move(fn)), site_(std::move(site)) {}

    /// Named for errors: the member, and a name per input and per output.
    static std::vector<COSId> inputTypeIds(const std::string& member, const std::vector<std::string>& names) {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return std::vector<COSId>{typeIdFor<typename Arg<P>::V>(member, parameterText("input", I, names))...};
        }
        (std::index_sequence_for<P...>());
    }
    static std::vector<COSId> outputTypeIds(const std::string& member, const std::vector<std::string>& names) {
        return Results<R>::typeIds(member, names);
    }

    void operator()(const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                    const COSValue* inputs) const {
        if (inputCount < required || inputCount > total)
            raiseWrongInputCount(site_->member, site_->inputsText(required), inputCount);
        if (outputCount > Results<R>::count) raiseTooManyOutputs(site_->member, site_->outputsText(), outputCount);
        call(std::index_sequence_for<P...>(), outputCount, outputs, inputCount, inputs);
    }

private:
    template <std::size_t... I>
    void call(std::index_sequence<I...>, int& outputCount, COSValue* outputs, [[maybe_unused]] int inputCount,
              [[maybe_unused]] const COSValue* inputs) const {
        std::tuple<typename Arg<P>::Holder...> holders;
        (load<I, P>(std::get<I>(holders), inputCount, inputs), ...);
        if constexpr (std::is_void_v<R>) {
            guarded(*site_, [&] { std::invoke(fn_, Arg<P>::pass(std::get<I>(holders))...); });
            outputCount = 0;
        } else {
            decltype(auto) result =
                guarded(*site_, [&]() -> R { return std::invoke(fn_, Arg<P>::pass(std::get<I>(holders))...); });
            outputCount =
                converting(*site_, [&] { return Results<R>::write(std::forward<R>(result), outputs, outputCount); });
        }
    }

    template <std::size_t I, class Param>
    void load(typename Arg<Param>::Holder& holder, int inputCount, const COSValue* inputs) const {
        if constexpr (Arg<Param>::optional) {
            if (static_cast<int>(I) >= inputCount) {
                holder.emplace();  // left out: nothing
                return;
            }
        }
        if (!Arg<Param>::load(inputs[I], holder))
            raiseBadInput(site_->member, static_cast<std::int64_t>(I) + 1, site_->inputNames[I], Arg<Param>::expected(),
                          Arg<Param>::describe(inputs[I]));
    }

    Fn fn_;
    std::shared_ptr<const CallSite> site_;
};

template <class Fn>
using InvokerFor = Invoker<Fn, typename CallableTraits<Fn>::Result, typename CallableTraits<Fn>::Params>;

}  // namespace orrery::convenience::typed::detail

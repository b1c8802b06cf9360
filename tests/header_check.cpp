// Instantiates the public class templates in full, so that the header check sees their
// member bodies too, not only their declarations; and binds a class and a function
// through the typed layer, with a conversion of each default kind.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "convenience/configurable_class_info.hpp"
#include "convenience/typed/typed.hpp"
#include "host/enumeration.hpp"
#include "host/reference/counters.hpp"
#include "orrery_testkit/testkit.hpp"

template class orrery::Enumeration<orrery::COSInterface*>;
template class orrery::Enumeration<hxArray*>;
template class orrery::convenience::ConfigurableCOSClassInfo<std::shared_ptr<orrery::convenience::COSClassInfoStruct>>;
template struct orrery::reference::LiveCountsOf<long>;

namespace {

struct Checked {
    explicit Checked(double start = 0) : x(start) {}
    double x;
    std::int64_t n = 0;
    const int fixed = 1;
    std::string text() const { return {}; }
    std::pair<float, bool> pair(std::uint8_t, const std::u16string&) { return {}; }
};

[[maybe_unused]] void bindChecked() {
    using namespace orrery::convenience::typed;
    auto checked = defineClass<Checked>("check.Checked")
                       .constructor<double>()
                       .property("x", &Checked::x)
                       .property("n", &Checked::n)
                       .property("fixed", &Checked::fixed)
                       .property("text", &Checked::text)
                       .method("pair", &Checked::pair)
                       .staticMethod("make", [] { return Checked(); })
                       .abstractMethod<int(short)>("abstract");
    defineFunction("check.f", [](std::vector<int>, std::optional<bool>, Checked*, const Checked&) {
        return std::tuple<std::vector<bool>, std::string, orrery::COSValue>();
    });
    orrery::testkit::Object object = orrery::testkit::construct("check.Checked", 1.0, "text");
    [[maybe_unused]] auto [a, b] = object.call<double, bool>("pair", 1, std::u16string());
}

}  // namespace

// A plugin author's classes, built against the installed package: shop.Item with a price,
// a method that applies a discount, and a constructor that takes the price, written with
// the records; shop.Basket written with the typed layer and checked with the test kit.
// The host here is the reference host; the exit code says whether the host saw what we
// defined.
#include <cstdio>
#include <memory>

#include "convenience/convenience.hpp"
#include "convenience/typed/typed.hpp"
#include "convenience/values.hpp"
#include "host/reference/reference_host.hpp"
#include "orrery_testkit/testkit.hpp"

// Consumers see the public headers only.
#if __has_include("members/signature_builder.hpp") || __has_include("host/reference/detail/counters.hpp")
#  error "the library's internals are on the consumer's include path"
#endif

using namespace orrery;
using namespace orrery::convenience;

namespace {

struct Item {
    double price = 0;
};

Item& itemOf(COSInterface* object) { return *static_cast<Item*>(reference::asObject(object)->data()); }

void defineItem() {
    auto item = createClass("shop.Item");
    item->description = "Something for sale";
    item->allocateDataFcn = [](COSInterface*) -> void* { return new Item(); };
    item->objectDataFcn = [](COSInterface*, void* data) { delete static_cast<Item*>(data); };

    auto price = createProperty("price");
    price->SetTypeAndImplicitFactoryDefaultFcn(makeId("double"));
    price->getFcn = [](COSInterface* object) { return values::makeDouble(itemOf(object).price); };
    price->setFcn = [](COSInterface* object, COSValue value) {
        itemOf(object).price = values::readDouble(value).value();
    };
    item->addProperty(price);

    auto discounted = createMethod("discounted");
    discounted->inputTypes = {makeId("shop.Item scalar"), makeId("double")};
    discounted->inputNames = {"self", "percent"};
    discounted->outputTypes = {makeId("double")};
    discounted->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int, const COSValue* inputs) {
        double percent = values::readDouble(inputs[1]).value();
        outputs[0] = values::makeDouble(itemOf(values::readObject(inputs[0])).price * (100 - percent) / 100);
        outputCount = 1;
    };
    item->addMethod(discounted);

    auto constructor = createConstructor();
    constructor->inputTypes = {makeId("double")};
    constructor->inputNames = {"price"};
    constructor->invokeFcn = [](const COSClient*, int& outputCount, COSValue* outputs, int inputCount,
                                const COSValue* inputs) {
        COSInterfacePtr object = reference::createObject(reference::findClass("shop.Item"));
        if (inputCount >= 1) itemOf(object).price = values::readDouble(inputs[0]).value();
        outputs[0] = values::makeObject(object);
        outputCount = 1;
    };
    item->addConstructor(constructor);
    item->publish();
}

struct Basket {
    double total = 0;
    void put(double price) { total += price; }
};

void defineBasket() {
    typed::defineClass<Basket>("shop.Basket")
        .constructor<>()
        .property("total", &Basket::total)
        .method("put", &Basket::put, {"price"})
        .publish();
}

int failures = 0;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FAILED: %s\n", what);
        ++failures;
    }
}

}  // namespace

int main() {
    orrery::testkit::ScopedHost host;
    defineItem();
    defineBasket();
    {
        COSInterfacePtr book = values::readObject(reference::construct(makeId("shop.Item"), {values::makeDouble(40)}));
        check(values::readDouble(reference::getProperty(book, "price")).value() == 40,
              "the constructor sets the price");
        auto outputs = reference::invokeMethod(book, "discounted", {values::makeDouble(25)}, 1);
        check(outputs.size() == 1 && values::readDouble(outputs[0]).value() == 30, "discounted(25) of 40 is 30");
        reference::setProperty(book, "price", values::makeDouble(10));
        check(values::readDouble(reference::getProperty(book, "price")).value() == 10, "the price can be set");
        check(reference::asSignature(reference::findClass("shop.Item")->findConstructor()->getSignature()).toString() ==
                  "(double price) -> (shop.Item scalar Output)",
              "the constructor's signature");

        orrery::testkit::Object basket = orrery::testkit::construct("shop.Basket");
        basket.call("put", 2.5);
        basket.call("put", 4);
        check(basket.get<double>("total") == 6.5, "the typed basket adds up");
        check(orrery::testkit::signature("shop.Basket.put") == "(shop.Basket scalar self, double scalar price) -> ()",
              "the typed method's signature");
    }
    const orrery::testkit::LeakReport report = host.finish();
    check(report.clean(), "the host frees everything at shutdown");
    std::printf("shop.Item and shop.Basket checks: %s\n", failures == 0 ? "ok" : "FAILED");
    return failures == 0 ? 0 : 1;
}

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "host/exception.hpp"
#include "host/reference/counters.hpp"
#include "host/reference/objects.hpp"
#include "host/reference/ref_class.hpp"
#include "host/reference/reference_host.hpp"
#include "host/reference/text.hpp"

namespace orrery {

COSInterface::COSInterface(bool immortal) : immortal_(immortal) {
    if (!immortal_) ++reference::detail::counters().objects;
}

COSInterface::~COSInterface() {
    if (!immortal_) --reference::detail::counters().objects;
}

namespace internal {
void retainInterface(COSInterface* object) noexcept {
    if (object) ++object->refs_;
}
void releaseInterface(COSInterface* object) noexcept {
    if (object && --object->refs_ == 0 && !object->immortal_) delete object;
}
}  // namespace internal

namespace reference {

RefObject::RefObject(COSClass* cls) : cls_(cls) {}

RefObject::~RefObject() {
    auto* refClass = dynamic_cast<RefClass*>(cls_);
    if (data_ && refClass && refClass->info()) refClass->info()->processObjectData(this, data_);
}

// --- values ---------------------------------------------------------------------------
namespace {
template <class T>
T* elements(const COSValue& value, hxClassID classID, const char* what) {
    hxArray* array = value.content();
    if (!array || array->classID() != classID) throw std::invalid_argument(std::string("the value is not ") + what);
    return static_cast<T*>(array->data());
}

}  // namespace

COSValue makeDouble(double value) {
    COSValue out(ArrayFactory::create({1, 1}, hxDOUBLE_CLASS, hxREAL));
    *static_cast<double*>(out.content()->data()) = value;
    return out;
}

COSValue makeLogical(bool value) {
    COSValue out(ArrayFactory::create({1, 1}, hxLOGICAL_CLASS, hxREAL));
    *hxGetLogicals(out.content()) = value;
    return out;
}

COSValue makeChars(const std::string& utf8) {
    std::u16string text = detail::utf8ToUtf16(utf8);
    COSValue out(ArrayFactory::create({text.empty() ? 0u : 1u, text.size()}, hxCHAR_CLASS, hxREAL));
    if (!text.empty()) std::memcpy(out.content()->data(), text.data(), text.size() * sizeof(char16_t));
    return out;
}

COSValue makeObjects(const std::vector<COSInterfacePtr>& objects) {
    COSValue out(ArrayFactory::create({1, objects.size()}, hxOBJECT_CLASS, hxREAL));
    auto* items = static_cast<COSInterfacePtr*>(out.content()->data());
    for (std::size_t i = 0; i < objects.size(); ++i) items[i] = objects[i];
    return out;
}

double toDouble(const COSValue& value) {
    double* items = elements<double>(value, hxDOUBLE_CLASS, "a double");
    if (value.content()->numberOfElements() != 1) throw std::invalid_argument("the value is not a double scalar");
    return *items;
}

std::string toText(const COSValue& value) {
    auto* items = elements<char16_t>(value, hxCHAR_CLASS, "text");
    return fl::i18n::ustring_to_utf8(std::u16string(items, value.content()->numberOfElements()));
}

COSInterfacePtr toObject(const COSValue& value) {
    auto* items = elements<COSInterfacePtr>(value, hxOBJECT_CLASS, "an object");
    if (value.content()->numberOfElements() != 1) throw std::invalid_argument("the value is not one object");
    return items[0];
}

std::string describe(const COSValue& value) {
    hxArray* array = value.content();
    if (!array) return "<no value>";
    if (array->numberOfElements() == 0) return array->classID() == hxCHAR_CLASS ? "''" : "[]";
    switch (array->classID()) {
        case hxDOUBLE_CLASS: {
            if (array->numberOfElements() != 1) return "<double array>";
            std::string text = std::to_string(toDouble(value));
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.') text.pop_back();
            return text;
        }
        case hxLOGICAL_CLASS: return *hxGetLogicals(array) ? "true" : "false";
        case hxCHAR_CLASS: return "'" + toText(value) + "'";
        case hxOBJECT_CLASS: {
            auto* object = asObject(static_cast<COSInterfacePtr*>(array->data())[0]);
            return object ? "<" + object->cls()->getClassID().str() + " object>" : "<object>";
        }
        default: return "<array>";
    }
}

// --- objects --------------------------------------------------------------------------
RefObject* asObject(COSInterface* object) { return dynamic_cast<RefObject*>(object); }

COSInterfacePtr createObject(COSClass* cls) {
    auto* object = new RefObject(cls);
    COSInterfacePtr handle(object);
    auto* refClass = dynamic_cast<RefClass*>(cls);
    if (refClass && refClass->info()) object->data_ = refClass->info()->allocateData(object);
    return handle;
}

namespace {
RefClass& classOf(const COSInterfacePtr& object) {
    auto* instance = asObject(object);
    if (!instance) throw std::invalid_argument("not an object of the reference host");
    auto* cls = dynamic_cast<RefClass*>(instance->cls());
    if (!cls) throw std::invalid_argument("the object's class is not a reference host class");
    return *cls;
}

COSPropInfo& propertyOf(const COSInterfacePtr& object, const std::string& name) {
    RefClass& cls = classOf(object);
    COSPropInfo* info = cls.findProperty(name);
    if (!info) throw std::invalid_argument("class " + cls.getClassID().str() + " has no property " + name);
    return *info;
}
}  // namespace

COSValue construct(const COSId& classId, const std::vector<COSValue>& inputs) {
    auto* cls = dynamic_cast<RefClass*>(COSClass::getClass(classId));
    if (!cls) throw std::invalid_argument("no class " + classId.str());
    COSMethodInfo* constructor = cls->findConstructor();
    if (!constructor) throw std::invalid_argument("class " + classId.str() + " has no constructor");
    COSValue output;
    int outputCount = 1;
    constructor->invoke(client(), outputCount, &output, static_cast<int>(inputs.size()), inputs.data());
    return output;
}

COSValue getProperty(const COSInterfacePtr& object, const std::string& name) {
    return propertyOf(object, name).getValue(object);
}

void setProperty(const COSInterfacePtr& object, const std::string& name, COSValue value) {
    propertyOf(object, name).setValue(object, std::move(value));
}

std::vector<COSValue> invokeMethod(const COSInterfacePtr& object, const std::string& name,
                                   const std::vector<COSValue>& inputs, int outputCount) {
    RefClass& cls = classOf(object);
    COSMethodInfo* method = cls.findMethod(name);
    if (!method) throw std::invalid_argument("class " + cls.getClassID().str() + " has no method " + name);
    std::vector<COSValue> all{makeObjects({object})};
    all.insert(all.end(), inputs.begin(), inputs.end());
    std::vector<COSValue> outputs(static_cast<std::size_t>(outputCount));
    method->invoke(client(), outputCount, outputs.data(), static_cast<int>(all.size()), all.data());
    outputs.resize(static_cast<std::size_t>(std::max(outputCount, 0)));
    return outputs;
}

}  // namespace reference
}  // namespace orrery

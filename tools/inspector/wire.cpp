#include "wire.hpp"

#include <cstring>
#include <vector>

namespace orrery::inspector::wire {
namespace {

constexpr std::size_t kLengthSize = 4;

// A frame bigger than this is not one the child wrote: a gigabyte of report is already
// far more than any plugin's tree.
constexpr std::uint64_t kMaxFrame = std::uint64_t(1) << 30;

}  // namespace

FrameWriter::FrameWriter(Kind kind) {
    bytes_.assign(kLengthSize, '\0');
    bytes_ += static_cast<char>(kind);
}

FrameWriter& FrameWriter::put(std::uint64_t number) {
    char raw[sizeof number];
    std::memcpy(raw, &number, sizeof number);
    bytes_.append(raw, sizeof raw);
    return *this;
}

FrameWriter& FrameWriter::put(double number) {
    char raw[sizeof number];
    std::memcpy(raw, &number, sizeof number);
    bytes_.append(raw, sizeof raw);
    return *this;
}

FrameWriter& FrameWriter::put(std::string_view text) {
    put(std::uint64_t(text.size()));
    bytes_ += text;
    return *this;
}

FrameWriter& FrameWriter::put(const std::vector<std::string>& texts) {
    put(std::uint64_t(texts.size()));
    for (const auto& text : texts) put(std::string_view(text));
    return *this;
}

FrameWriter& FrameWriter::put(const std::vector<Difference>& differences) {
    put(std::uint64_t(differences.size()));
    for (const auto& difference : differences)
        put(std::string_view(difference.query)).put(std::string_view(difference.value));
    return *this;
}

FrameWriter& FrameWriter::put(const std::vector<Argument>& arguments) {
    put(std::uint64_t(arguments.size()));
    for (const auto& argument : arguments) put(std::string_view(argument.type)).put(std::string_view(argument.name));
    return *this;
}

FrameWriter& FrameWriter::put(const Callable& callable) {
    put(std::string_view(callable.name))
        .put(std::string_view(callable.description))
        .put(std::string_view(callable.access));
    put(callable.inputs).put(callable.outputs);
    put(std::uint64_t(callable.varargin) | std::uint64_t(callable.varargout) << 1 |
        std::uint64_t(callable.hasSignature) << 2);
    return put(callable.attributes);
}

FrameWriter& FrameWriter::put(const PluginReport& plugin) {
    put(std::string_view(plugin.file)).put(std::uint64_t(plugin.loaded));
    return put(plugin.classes).put(plugin.namespaces);
}

FrameWriter& FrameWriter::put(const ClassReport& cls) {
    put(std::string_view(cls.id)).put(std::string_view(cls.description)).put(std::string_view(cls.detailedDescription));
    put(std::string_view(cls.plugin)).put(cls.superclasses).put(cls.flags);
    put(std::uint64_t(cls.properties.size()));
    for (const auto& property : cls.properties) {
        put(std::string_view(property.name))
            .put(std::string_view(property.description))
            .put(std::string_view(property.type));
        put(std::string_view(property.factoryDefault)).put(std::string_view(property.getAccess));
        put(std::string_view(property.setAccess)).put(property.attributes);
    }
    put(std::uint64_t(cls.constructors.size()));
    for (const auto& constructor : cls.constructors) put(constructor);
    put(std::uint64_t(cls.methods.size()));
    for (const auto& method : cls.methods) put(method);
    return *this;
}

FrameWriter& FrameWriter::put(const NamespaceReport& space) {
    putSpace(space, 0);
    return *this;
}

void FrameWriter::putSpace(const NamespaceReport& space, std::size_t depth) {
    // The walk never nests deeper; a report that does is not written past the bound.
    const bool deeper = depth < maxDepth;
    put(std::string_view(space.path)).put(std::string_view(space.description)).put(std::string_view(space.plugin));
    put(std::uint64_t(space.classes.size()));
    for (const auto& cls : space.classes) put(cls);
    put(std::uint64_t(space.functions.size()));
    for (const auto& function : space.functions) put(function);
    put(std::uint64_t(deeper ? space.namespaces.size() : 0));
    if (deeper)
        for (const auto& inner : space.namespaces) putSpace(inner, depth + 1);
}

FrameWriter& FrameWriter::put(const convenience::diagnostics::Finding& finding) {
    put(std::uint64_t(finding.severity)).put(std::string_view(finding.check)).put(std::string_view(finding.recordKind));
    return put(std::string_view(finding.recordName)).put(std::string_view(finding.message));
}

FrameWriter& FrameWriter::put(const Problem& problem) {
    return put(std::string_view(problem.where))
        .put(std::string_view(problem.message))
        .put(std::string_view(problem.id));
}

FrameWriter& FrameWriter::put(const CallReport& call) {
    put(call.command).put(std::uint64_t(call.outputs.size()));
    for (const auto& output : call.outputs)
        put(std::string_view(output.name)).put(std::string_view(output.value)).put(std::string_view(output.handle));
    put(std::uint64_t(call.error.has_value()));
    if (call.error) put(*call.error);
    return *this;
}

const std::string& FrameWriter::bytes() {
    const auto size = static_cast<std::uint32_t>(bytes_.size() - kLengthSize);
    std::memcpy(bytes_.data(), &size, kLengthSize);
    return bytes_;
}

std::size_t FrameReader::complete(std::string_view buffer) {
    if (buffer.size() < kLengthSize) return 0;
    std::uint32_t size = 0;
    std::memcpy(&size, buffer.data(), kLengthSize);
    if (size == 0 || size > kMaxFrame) throw Malformed("a frame of " + std::to_string(size) + " bytes");
    return buffer.size() - kLengthSize >= size ? kLengthSize + size : 0;
}

FrameReader::FrameReader(std::string_view frame) : rest_(frame.substr(kLengthSize)) {
    kind_ = static_cast<Kind>(take(1)[0]);
}

std::string_view FrameReader::take(std::size_t size) {
    if (size > rest_.size()) throw Malformed("a frame ends early");
    const std::string_view piece = rest_.substr(0, size);
    rest_.remove_prefix(size);
    return piece;
}

std::uint64_t FrameReader::number() {
    std::uint64_t number = 0;
    std::memcpy(&number, take(sizeof number).data(), sizeof number);
    return number;
}

double FrameReader::real() {
    double number = 0;
    std::memcpy(&number, take(sizeof number).data(), sizeof number);
    return number;
}

std::string FrameReader::text() { return std::string(take(number())); }

// Each element takes at least one byte: a count past what is left is malformed, and
// would otherwise reserve without bound.
std::size_t FrameReader::count() {
    const std::uint64_t count = number();
    if (count > rest_.size()) throw Malformed("a count past the frame's end");
    return static_cast<std::size_t>(count);
}

void FrameReader::get(std::vector<std::string>& texts) {
    texts.resize(count());
    for (auto& text : texts) text = this->text();
}

void FrameReader::get(std::vector<Difference>& differences) {
    differences.resize(count());
    for (auto& difference : differences) difference = {text(), text()};
}

void FrameReader::get(std::vector<Argument>& arguments) {
    arguments.resize(count());
    for (auto& argument : arguments) {
        argument.type = text();
        argument.name = text();
    }
}

void FrameReader::get(Callable& callable) {
    callable.name = text();
    callable.description = text();
    callable.access = text();
    get(callable.inputs);
    get(callable.outputs);
    const std::uint64_t flags = number();
    callable.varargin = (flags & 1) != 0;
    callable.varargout = (flags & 2) != 0;
    callable.hasSignature = (flags & 4) != 0;
    get(callable.attributes);
}

void FrameReader::get(PluginReport& plugin) {
    plugin.file = text();
    plugin.loaded = number() != 0;
    get(plugin.classes);
    get(plugin.namespaces);
}

void FrameReader::get(ClassReport& cls) {
    cls.id = text();
    cls.description = text();
    cls.detailedDescription = text();
    cls.plugin = text();
    get(cls.superclasses);
    get(cls.flags);
    cls.properties.resize(count());
    for (auto& property : cls.properties) {
        property.name = text();
        property.description = text();
        property.type = text();
        property.factoryDefault = text();
        property.getAccess = text();
        property.setAccess = text();
        get(property.attributes);
    }
    cls.constructors.resize(count());
    for (auto& constructor : cls.constructors) get(constructor);
    cls.methods.resize(count());
    for (auto& method : cls.methods) get(method);
}

void FrameReader::get(NamespaceReport& space) { getSpace(space, 0); }

void FrameReader::getSpace(NamespaceReport& space, std::size_t depth) {
    if (depth > maxDepth) throw Malformed("namespaces nested past the bound");
    space.path = text();
    space.description = text();
    space.plugin = text();
    space.classes.resize(count());
    for (auto& cls : space.classes) get(cls);
    space.functions.resize(count());
    for (auto& function : space.functions) get(function);
    space.namespaces.resize(count());
    for (auto& inner : space.namespaces) getSpace(inner, depth + 1);
}

void FrameReader::get(convenience::diagnostics::Finding& finding) {
    finding.severity =
        number() ? convenience::diagnostics::Severity::error : convenience::diagnostics::Severity::warning;
    finding.check = text();
    finding.recordKind = text();
    finding.recordName = text();
    finding.message = text();
}

void FrameReader::get(Problem& problem) {
    problem.where = text();
    problem.message = text();
    problem.id = text();
}

void FrameReader::get(CallReport& call) {
    get(call.command);
    call.outputs.resize(count());
    for (auto& output : call.outputs) {
        output.name = text();
        output.value = text();
        output.handle = text();
    }
    if (number()) {
        call.error.emplace();
        get(*call.error);
    }
}

}  // namespace orrery::inspector::wire

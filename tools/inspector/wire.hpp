#pragma once
// The report a supervised run sends from its child process to the inspector: the pieces
// of an inspection as they are found, in frames of bytes. Both ends are the same
// program, so the format needs no version; a reader still refuses what does not parse,
// since a child that dies mid-write leaves half a frame.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "inspection.hpp"

namespace orrery::inspector::wire {

/// What a frame carries.
enum class Kind : std::uint8_t {
    phase = 1,  ///< what the child starts now: the plugin's file (may be empty) and the step
    plugin,
    space,  ///< a top-level namespace report
    cls,  ///< a class report from the class registry
    finding,
    error,
    call,
    leaks,
    code,  ///< the exit code the run has come to so far
    done,  ///< the child's exit code and timing: it finished
    failed,  ///< the inspector itself failed in the child: the message
};

class Malformed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Builds one frame: a 4-byte length, the kind, then the fields.
class FrameWriter {
public:
    explicit FrameWriter(Kind kind);
    FrameWriter& put(std::uint64_t number);
    FrameWriter& put(double number);
    FrameWriter& put(std::string_view text);
    FrameWriter& put(const PluginReport& plugin);
    FrameWriter& put(const NamespaceReport& space);
    FrameWriter& put(const ClassReport& cls);
    FrameWriter& put(const convenience::diagnostics::Finding& finding);
    FrameWriter& put(const Problem& problem);
    FrameWriter& put(const CallReport& call);
    /// The frame, its length filled in.
    const std::string& bytes();

private:
    FrameWriter& put(const Callable& callable);
    FrameWriter& put(const std::vector<Difference>& differences);
    FrameWriter& put(const std::vector<Argument>& arguments);
    FrameWriter& put(const std::vector<std::string>& texts);
    void putSpace(const NamespaceReport& space, std::size_t depth);

    std::string bytes_;
};

/// Reads the frame that follows in `buffer`, if it is all there.
class FrameReader {
public:
    /// The size of the first frame in `buffer`, or 0 when it is not complete yet.
    static std::size_t complete(std::string_view buffer);
    /// A complete frame, as complete() measured it.
    explicit FrameReader(std::string_view frame);

    Kind kind() const { return kind_; }
    std::uint64_t number();
    double real();
    std::string text();
    void get(PluginReport& plugin);
    void get(NamespaceReport& space);
    void get(ClassReport& cls);
    void get(convenience::diagnostics::Finding& finding);
    void get(Problem& problem);
    void get(CallReport& call);

private:
    void get(Callable& callable);
    void get(std::vector<Difference>& differences);
    void get(std::vector<Argument>& arguments);
    void get(std::vector<std::string>& texts);
    void getSpace(NamespaceReport& space, std::size_t depth);
    std::size_t count();
    std::string_view take(std::size_t size);

    std::string_view rest_;
    Kind kind_;
};

}  // namespace orrery::inspector::wire

// inspectSupervised: the plugins run in a child process, which sends what it finds as it
// goes; this process only reads. Whatever the plugins do to their process (a crash, an
// abort, a stack overflow, an exit, an endless loop), this one sees it end and reports it.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#ifdef __linux__
#  include <sys/prctl.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <thread>

#include "exit_codes.hpp"
#include "number_text.hpp"
#include "session.hpp"
#include "wire.hpp"

namespace orrery::inspector {
namespace {

// The child's end. Frames are gathered and written when a step starts: whatever the step
// does to the process, all that was found before it has reached the inspector, and a
// class pulled in costs one write, not one for each frame.
class PipeObserver final : public Observer {
public:
    explicit PipeObserver(int fd) : fd_(fd) {}

    void phase(const std::string& plugin, const std::string& step) override {
        send(wire::FrameWriter(wire::Kind::phase).put(plugin).put(step));
        flush();
    }

    void found(const Inspection& inspection, int exitCode) override {
        sendNew(wire::Kind::plugin, inspection.plugins, sent_.plugins);
        sendNew(wire::Kind::space, inspection.namespaces, sent_.namespaces);
        sendNew(wire::Kind::cls, inspection.classes, sent_.classes);
        sendNew(wire::Kind::finding, inspection.findings, sent_.findings);
        sendNew(wire::Kind::error, inspection.errors, sent_.errors);
        sendNew(wire::Kind::call, inspection.calls, sent_.calls);
        if (!inspection.leaks.empty() && !sent_.leaks) {
            send(wire::FrameWriter(wire::Kind::leaks).put(inspection.leaks));
            sent_.leaks = true;
        }
        if (exitCode != sent_.code) send(wire::FrameWriter(wire::Kind::code).put(std::uint64_t(exitCode)));
        sent_.code = exitCode;
    }

    void done(const Outcome& outcome) {
        found(outcome.inspection, outcome.exitCode);
        const Timing& t = outcome.timing;
        send(wire::FrameWriter(wire::Kind::done)
                 .put(std::uint64_t(outcome.exitCode))
                 .put(t.load)
                 .put(t.diagnose)
                 .put(t.pullIn)
                 .put(t.calls)
                 .put(t.unload));
        flush();
    }

    void failed(const std::string& message) {
        send(wire::FrameWriter(wire::Kind::failed).put(message));
        flush();
    }

private:
    template <class T>
    void sendNew(wire::Kind kind, const std::vector<T>& items, std::size_t& sent) {
        for (; sent < items.size(); ++sent) send(wire::FrameWriter(kind).put(items[sent]));
    }

    void send(wire::FrameWriter& frame) { pending_ += frame.bytes(); }
    void send(wire::FrameWriter&& frame) { send(frame); }

    void flush() {
        for (std::size_t written = 0; written < pending_.size();) {
            const ssize_t n = ::write(fd_, pending_.data() + written, pending_.size() - written);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) _exit(exit_code::internal);  // nobody reads: nothing left to do
            written += std::size_t(n);
        }
        pending_.clear();
    }

    int fd_;
    std::string pending_;
    struct {
        std::size_t plugins = 0, namespaces = 0, classes = 0, findings = 0, errors = 0, calls = 0;
        bool leaks = false;
        int code = exit_code::ok;
    } sent_;
};

[[noreturn]] void runChild(Options options, int fd) {
#ifdef __linux__
    // An inspector that is killed takes its child along rather than leave it running.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    // What plugins print on standard output would land in the middle of the report.
    dup2(STDERR_FILENO, STDOUT_FILENO);
    PipeObserver observer(fd);
    options.observer = &observer;
    try {
        observer.done(inspect(options));
    } catch (const std::exception& error) {
        observer.failed(error.what());
    } catch (...) {
        observer.failed("an unknown exception");
    }
    // No static destructors or exit handlers: they belong to the inspector's process,
    // and the plugins' have run when they were unloaded.
    _exit(0);
}

std::string signalText(int signal) {
    std::string text = "signal " + std::to_string(signal);
    if (const char* name = sigabbrev_np(signal)) text += std::string(" (SIG") + name + ": " + strsignal(signal) + ")";
    if (signal == SIGSEGV) text += "; a crash or a stack overflow";
    return text;
}

// Reads the child's frames into the outcome until the child closes its end or the time
// is up; false when it was up.
class Follower {
public:
    Follower(Outcome& outcome, int fd) : outcome_(outcome), fd_(fd) {}

    bool follow(double timeout) {
        using clock = std::chrono::steady_clock;
        // A limit of centuries is no limit, and would overflow the clock's count.
        if (!(timeout < 1e9)) timeout = 0;
        const auto deadline =
            clock::now() + std::chrono::duration_cast<clock::duration>(std::chrono::duration<double>(timeout));
        char chunk[1 << 16];
        for (;;) {
            int wait = -1;
            if (timeout > 0) {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
                if (left <= 0) return false;
                wait = int(std::min<long long>(left, 1 << 30));
            }
            pollfd event{fd_, POLLIN, 0};
            const int ready = ::poll(&event, 1, wait);
            if (ready < 0 && errno != EINTR) throw std::system_error(errno, std::generic_category(), "poll");
            if (ready <= 0) continue;
            const ssize_t n = ::read(fd_, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return true;
            buffer_.append(chunk, std::size_t(n));
            take();
            // Woken for every write, this process would cost the child a switch for each
            // class it pulls in; the child writes into the pipe's buffer meanwhile.
            if (n < ssize_t(sizeof chunk)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    bool done() const { return done_; }
    const std::string& plugin() const { return plugin_; }
    const std::string& step() const { return step_; }
    int code() const { return code_; }

private:
    void take() {
        std::string_view rest(buffer_);
        while (std::size_t size = wire::FrameReader::complete(rest)) {
            apply(wire::FrameReader(rest.substr(0, size)));
            rest.remove_prefix(size);
        }
        buffer_.erase(0, buffer_.size() - rest.size());
    }

    void apply(wire::FrameReader frame) {
        Inspection& out = outcome_.inspection;
        switch (frame.kind()) {
            case wire::Kind::phase:
                plugin_ = frame.text();
                step_ = frame.text();
                return;
            case wire::Kind::plugin: frame.get(out.plugins.emplace_back()); return;
            case wire::Kind::space: frame.get(out.namespaces.emplace_back()); return;
            case wire::Kind::cls: frame.get(out.classes.emplace_back()); return;
            case wire::Kind::finding: frame.get(out.findings.emplace_back()); return;
            case wire::Kind::error: frame.get(out.errors.emplace_back()); return;
            case wire::Kind::call: frame.get(out.calls.emplace_back()); return;
            case wire::Kind::leaks: out.leaks = frame.text(); return;
            case wire::Kind::code: code_ = int(frame.number()); return;
            case wire::Kind::done: {
                outcome_.exitCode = int(frame.number());
                Timing& t = outcome_.timing;
                for (double* seconds : {&t.load, &t.diagnose, &t.pullIn, &t.calls, &t.unload}) *seconds = frame.real();
                done_ = true;
                return;
            }
            case wire::Kind::failed:
                out.errors.push_back({"orrery-inspect", "internal error: " + frame.text(), ""});
                outcome_.exitCode = exit_code::internal;
                done_ = true;
                return;
        }
        throw wire::Malformed("a frame of an unknown kind");
    }

    Outcome& outcome_;
    int fd_;
    std::string buffer_;
    std::string plugin_, step_;
    int code_ = exit_code::ok;
    bool done_ = false;
};

}  // namespace

Outcome inspectSupervised(const Options& options) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
#ifdef F_SETPIPE_SZ
    // Room for what the child writes while this process sleeps; the default will do if refused.
    ::fcntl(ends[1], F_SETPIPE_SZ, 1 << 20);
#endif
    // Nothing buffered may be written twice, once by each process.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(ends[0]);
        ::close(ends[1]);
        throw std::system_error(error, std::generic_category(), "fork");
    }
    if (child == 0) {
        ::close(ends[0]);
        runChild(options, ends[1]);
    }
    ::close(ends[1]);

    Outcome outcome;
    Follower follower(outcome, ends[0]);
    bool inTime = true;
    std::string malformed;
    try {
        inTime = follower.follow(options.timeout);
    } catch (const wire::Malformed& error) {
        malformed = error.what();
    }
    if (!inTime || !malformed.empty()) ::kill(child, SIGKILL);
    ::close(ends[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    if (follower.done() && inTime && malformed.empty()) return outcome;

    // The child left a progress line behind, if it showed one.
    if (options.progress && ::isatty(STDERR_FILENO)) std::fputs("\r\033[K", stderr);
    std::string message;
    if (!malformed.empty())
        message = "the inspector's child process sent a report that does not read (" + malformed + ")";
    else if (!inTime)
        message = "did not finish within " + numberText(options.timeout) + " s (--timeout); stopped with " +
                  signalText(SIGKILL);
    else if (WIFSIGNALED(status))
        message = "the process running it was killed by " + signalText(WTERMSIG(status));
    else
        message = "the process running it exited with status " + std::to_string(WEXITSTATUS(status)) +
                  " before the inspection finished";
    const std::string& plugin = follower.plugin();
    const std::string where = plugin.empty() ? follower.step() : "plugin " + plugin + ": " + follower.step();
    // A plugin that died before its entry point returned is listed as failed.
    auto& plugins = outcome.inspection.plugins;
    if (!plugin.empty() &&
        std::none_of(plugins.begin(), plugins.end(), [&](const auto& p) { return p.file == plugin; }))
        plugins.push_back({plugin, false, {}, {}});
    outcome.inspection.errors.push_back({where.empty() ? "orrery-inspect" : where, message, ""});
    // The plugins after it never ran: named, so that none goes missing from the report.
    const std::size_t reached = plugins.size();
    std::size_t matched = 0;
    for (const std::string& path : options.plugins) {
        const std::string file = std::filesystem::path(path).filename().string();
        if (matched < reached && plugins[matched].file == file) {
            ++matched;
            continue;
        }
        const auto& errors = outcome.inspection.errors;
        if (matched < reached ||
            std::any_of(errors.begin(), errors.end(), [&](const auto& e) { return e.where == "plugin " + path; }))
            continue;  // it could not be loaded, and says so already
        plugins.push_back({file, false, {}, {}});
        outcome.inspection.errors.push_back(
            {"plugin " + file, "not inspected: the process running the plugins ended before its turn", ""});
    }
    const int failure = malformed.empty() ? exit_code::plugin : exit_code::internal;
    outcome.exitCode = follower.code() == exit_code::ok ? failure : std::min(follower.code(), failure);
    return outcome;
}

}  // namespace orrery::inspector

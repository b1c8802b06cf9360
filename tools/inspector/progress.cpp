#include "progress.hpp"

#include <unistd.h>

namespace orrery::inspector {

namespace {
constexpr auto kInterval = std::chrono::milliseconds(200);
}

Progress::Progress(bool enabled)
    : enabled_(enabled && isatty(STDERR_FILENO)), next_(std::chrono::steady_clock::now() + kInterval) {}

Progress::~Progress() { finish(); }

void Progress::phase(const std::string& what) {
    if (!enabled_) return;
    std::fprintf(stderr, "\r\033[K%s...", what.c_str());
    std::fflush(stderr);
    shown_ = true;
}

void Progress::maybeShow() {
    // Reading the clock every time would cost more than pulling a small class in.
    if (!enabled_ || (classes_ + functions_) % 64 != 0) return;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return;
    next_ = now + kInterval;
    std::fprintf(stderr, "\r\033[Kpulled in %ld classes, %ld functions...", classes_, functions_);
    std::fflush(stderr);
    shown_ = true;
}

void Progress::finish() {
    if (!shown_) return;
    std::fprintf(stderr, "\r\033[K");
    std::fflush(stderr);
    shown_ = false;
}

}  // namespace orrery::inspector

#pragma once

#include <stdexcept>

namespace orrery::testing {

// A C++ class for binding tests that counts its live instances.
struct Counter {
    static inline int alive = 0;

    explicit Counter(double start = 0) : count(start) {
        if (start < 0) throw std::invalid_argument("negative start");
        ++alive;
    }
    Counter(const Counter& other) : count(other.count) { ++alive; }
    Counter& operator=(const Counter&) = default;
    virtual ~Counter() { --alive; }

    void add(double amount) { count += amount; }
    virtual double total() const { return count; }

    double count;
};

}  // namespace orrery::testing

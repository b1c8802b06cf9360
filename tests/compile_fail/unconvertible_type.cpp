// Must not compile: no Converter handles std::map, and the compiler has to say which type.
#include <map>

#include "convenience/typed/typed.hpp"

struct Histogram {
    void load(const std::map<int, int>&) {}
};

void bindHistogram() {
    orrery::convenience::typed::defineClass<Histogram>("stats.Histogram").method("load", &Histogram::load);
}

// Parses its command line with Boost.ProgramOptions, then defines and uses a class on the
// reference host: both Boosts, the project's and the host's, in one program.
#include <boost/intrusive_ptr.hpp>
#include <boost/program_options.hpp>

#include <iostream>
#include <type_traits>

#include "all_headers.hpp"  // every public header of the package

namespace kit = orrery::testkit;
namespace po = boost::program_options;

namespace {

struct Lamp {
    double watts = 0;
};

// The project's own intrusive pointers, from its own Boost.
struct Counted {
    int references = 0;
};
void intrusive_ptr_add_ref(Counted* counted) { ++counted->references; }
void intrusive_ptr_release(Counted* counted) { --counted->references; }

}  // namespace

int main(int argc, char** argv) {
    po::options_description options("boost_consumer");
    options.add_options()("watts", po::value<double>()->default_value(60), "the lamp's power");
    po::variables_map given;
    po::store(po::parse_command_line(argc, argv, options), given);
    po::notify(given);
    const double watts = given["watts"].as<double>();

    Counted counted;
    {
        const boost::intrusive_ptr<Counted> mine(&counted);
        static_assert(!std::is_same_v<boost::intrusive_ptr<Counted>, kvboost::intrusive_ptr<Counted>>,
                      "the host's Boost is a Boost of its own");
        if (counted.references != 1) return 1;
    }

    kit::ScopedHost host;
    double back = 0;
    {
        auto shop = orrery::convenience::typed::defineNamespace("shop");
        shop.defineClass<Lamp>("Lamp").constructor<>().property("watts", &Lamp::watts);
        shop.publish();
        kit::Object lamp = kit::construct("shop.Lamp");
        lamp.set("watts", watts);
        back = lamp.get<double>("watts");
    }
    const kit::LeakReport leaks = host.finish();
    std::cout << "shop.Lamp watts = " << back << " (from --watts, parsed by Boost.ProgramOptions)\n";
    if (!leaks.clean()) std::cout << "left alive: " << leaks.text() << "\n";
    return back == watts && counted.references == 0 && leaks.clean() ? 0 : 1;
}

#pragma once

#include <string>
#include <vector>

namespace orrery::reference::detail {

// Gives every live instance's data back through its class and detaches it from its class;
// shutdown() calls it while the classes still exist.
void detachLiveObjects();
// The class names of the live instances, sorted.
std::vector<std::string> liveObjectClassNames();

}  // namespace orrery::reference::detail

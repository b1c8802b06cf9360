#include "convenience/plugin/build_stamp.hpp"

const orrery_build_stamp* orrery_convenience_build_stamp() noexcept {
    static constexpr orrery_build_stamp stamp{ORRERY_CONVENIENCE_VERSION, ORRERY_CONVENIENCE_ABI_TAG};
    return &stamp;
}

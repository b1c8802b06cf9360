#pragma once

// Member access levels, and the extended access that grants it to named classes or functions.

#include <cstdint>
#include <set>

namespace orrery {

enum COSAccessLevel : std::uint32_t {
    COSAccessPublic = 0,
    COSAccessProtected = 1,
    COSAccessPrivate = 2,
    COSAccessImmutable = 3,
};

// Access beyond the plain level: lists of classes granted access.
struct ExtendedMemberAccess {
    ExtendedMemberAccess() = default;
    explicit ExtendedMemberAccess(COSAccessLevel accessLevel) : level(accessLevel) {}

    COSAccessLevel level = COSAccessPublic;
    std::set<std::uint64_t> grantedClasses;
    std::set<std::uint64_t> grantedFunctions;
    std::uint64_t flags = 0;

    friend bool operator==(const ExtendedMemberAccess&, const ExtendedMemberAccess&) = default;
};

}  // namespace orrery

#pragma once
// The HTML reference's style sheet and script, written here so that a reference needs
// nothing from the network.

namespace orrery::inspector {

extern const char* const kReferenceStyle;
/// The search box: filters what search.js lists as one types; `?q=` in a page's address
/// fills it in, so that a search can be linked to.
extern const char* const kReferenceScript;

}  // namespace orrery::inspector

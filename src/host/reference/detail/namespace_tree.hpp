#pragma once

#include <string>

namespace orrery::reference::detail {

// Whether a package made so far holds a class of that full dotted id. Makes and
// populates nothing, so that type lookups never start a population.
bool isKnownPackageClass(const std::string& classId);

// Shutdown in two steps, so that every class object of the host goes before any info:
// first the tree's class objects (no new package or class object is made from then
// on), then its packages and namespace infos. The tree is empty and usable afterwards.
void releaseNamespaceClassObjects();
void releaseNamespaceTree();

}  // namespace orrery::reference::detail

#pragma once

// Visibility of the host's own interface. The reference host builds with
// ORRERY_HOST_BUILD defined; everything that uses it imports.
#if defined(_WIN32)
#  if defined(ORRERY_HOST_BUILD)
#    define ORRERY_HOST_API __declspec(dllexport)
#  else
#    define ORRERY_HOST_API __declspec(dllimport)
#  endif
#else
#  define ORRERY_HOST_API __attribute__((visibility("default")))
#endif

// Default visibility for a host type without importing it: its type identity then
// matches across shared libraries (a catch in one library matches a throw in another),
// and template instantiations over it can be exported.
#if defined(_WIN32)
#  define ORRERY_HOST_TEMPLATE_VISIBLE
#else
#  define ORRERY_HOST_TEMPLATE_VISIBLE __attribute__((visibility("default")))
#endif

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

#pragma once

// ORRERY_CONVENIENCE_API marks the library's public interface; everything else stays hidden.
#if defined(_WIN32)
#  if defined(ORRERY_CONVENIENCE_BUILD)
#    define ORRERY_CONVENIENCE_API __declspec(dllexport)
#  else
#    define ORRERY_CONVENIENCE_API __declspec(dllimport)
#  endif
#else
#  define ORRERY_CONVENIENCE_API __attribute__((visibility("default")))
#endif

#pragma once
// The inspector's exit codes. When several things fail, the smallest code wins: the
// first thing to fix is what stopped the rest.
namespace orrery::inspector::exit_code {

inline constexpr int ok = 0;
inline constexpr int internal = 1;  ///< the inspector itself failed (out of memory, cannot write its output)
inline constexpr int usage = 2;  ///< the command line is wrong
inline constexpr int load = 3;  ///< a plugin could not be loaded: no file, not a library, no entry point, another ABI
/// A plugin's code failed: its entry point, a hook, a population, a signature; or the
/// process running it crashed, aborted, overflowed its stack or ran out of time.
inline constexpr int plugin = 4;
inline constexpr int call = 5;  ///< a --call failed: nothing of that name, wrong arguments, or the call threw
inline constexpr int leak = 6;  ///< something outlived the plugins
inline constexpr int strict = 7;  ///< with --strict: a warning, or a plugin that published nothing

}  // namespace orrery::inspector::exit_code

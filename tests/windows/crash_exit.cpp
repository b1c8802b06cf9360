// Linked into every test executable on Windows. Under Wine an unhandled exception (an
// access violation, say) starts the debugger, which prints a backtrace and exits with 0,
// so a crashed test would read as a pass. This filter reports the exception and ends the
// process with 3, as abort() and std::terminate do on this runtime.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>

namespace {

constexpr UINT kCrashExitCode = 3;

LONG WINAPI exitOnCrash(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    std::fprintf(stderr, "unhandled exception 0x%08lx at %p: the program crashed\n", record.ExceptionCode,
                 record.ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), kCrashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Installed before main, replacing the C runtime's filter (which lets the crash through).
[[gnu::used]] const bool installed = (SetUnhandledExceptionFilter(exitOnCrash), true);

}  // namespace

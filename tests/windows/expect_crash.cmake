# Runs a test program that crashes (through the emulator, as CTest runs every test) and
# passes only if the crash made the run fail: the test started, the crash filter named
# the access violation and the exit code is not 0.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
message(STATUS "exit code ${result}; output:\n${output}")
if(NOT output MATCHES "\\[ RUN      \\] DeliberateCrash\\.WritesThroughANullPointer")
    message(FATAL_ERROR "the crashing test did not start")
endif()
if(NOT output MATCHES "unhandled exception 0xc0000005")
    message(FATAL_ERROR "the crash filter did not report the access violation")
endif()
if(result EQUAL 0)
    message(FATAL_ERROR "a crashed test exited with 0: crashes would read as passes")
endif()

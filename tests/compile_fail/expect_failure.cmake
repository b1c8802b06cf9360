# Compiles SOURCE with COMPILER, the standard STD and the options in the response file
# FLAGS, and expects the compile to fail with a message that matches EXPECTED; then
# touches STAMP, so that the check reruns only when the source or a header it reads changes.
execute_process(COMMAND ${COMPILER} ${STD} @${FLAGS} -fsyntax-only ${SOURCE} RESULT_VARIABLE status
                OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(status EQUAL 0)
    message(FATAL_ERROR "${SOURCE} compiled, but must not: ${WHY}")
endif()
if(NOT out MATCHES "${EXPECTED}")
    message(FATAL_ERROR "${SOURCE} failed to compile, but not with the message expected (${WHY}).\n"
                        "Expected to match: ${EXPECTED}\nThe compiler said:\n${out}")
endif()
file(TOUCH ${STAMP})

# Compares the library's dynamic symbol table with the expected public interface.
# Instantiations of standard-library templates that the compiler emits with vague
# linkage (shared_ptr control blocks and the like) are not part of the interface.
execute_process(COMMAND nm -D -C --defined-only ${LIBRARY} OUTPUT_VARIABLE raw RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REPLACE "\n" ";" lines "${raw}")
set(actual "")
foreach(line ${lines})
    string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" symbol "${line}")
    # Template functions demangle with their return type first, e.g. "void std::...".
    if(symbol STREQUAL "" OR symbol MATCHES "^(typeinfo for |typeinfo name for |vtable for |[A-Za-z_][A-Za-z0-9_ *&]* )?(std|__gnu_cxx)::"
       OR symbol MATCHES "^(_init|_fini|_edata|_end|__bss_start)$")
        continue()
    endif()
    list(APPEND actual "${symbol}")
endforeach()
list(REMOVE_DUPLICATES actual)
list(SORT actual)

file(STRINGS ${EXPECTED} expected)
list(FILTER expected EXCLUDE REGEX "^#")
list(SORT expected)

set(unexpected ${actual})
list(REMOVE_ITEM unexpected ${expected})
set(missing ${expected})
list(REMOVE_ITEM missing ${actual})
if(unexpected OR missing)
    list(JOIN unexpected "\n  " u)
    list(JOIN missing "\n  " m)
    message(FATAL_ERROR "Export table differs from tests/exports.expected\n"
                        "Exported but not expected:\n  ${u}\nExpected but not exported:\n  ${m}")
endif()
list(LENGTH actual count)
message(STATUS "export table matches: ${count} symbols")

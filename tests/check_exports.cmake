# Compares the library's dynamic symbol table with the expected public interface.
# Instantiations of standard-library templates that the compiler emits with vague
# linkage (shared_ptr control blocks and the like) are not part of the interface; they
# are recognised by their mangled names, which start with the std namespace (or one of
# its abbreviations) even where the demangled name starts with a return type.
foreach(form mangled demangled)
    set(flags -D --defined-only --no-sort)
    if(form STREQUAL "demangled")
        list(APPEND flags -C)
    endif()
    execute_process(COMMAND nm ${flags} ${LIBRARY} OUTPUT_VARIABLE raw RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "nm failed on ${LIBRARY}")
    endif()
    string(REGEX REPLACE "\n$" "" raw "${raw}")
    string(REPLACE "\n" ";" ${form} "${raw}")
endforeach()

list(LENGTH mangled count)
list(LENGTH demangled demangledCount)
if(NOT count EQUAL demangledCount)
    message(FATAL_ERROR "nm listed ${count} mangled but ${demangledCount} demangled symbols")
endif()

set(actual "")
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
    list(GET mangled ${i} line)
    string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" name "${line}")
    # std::, std::allocator, std::basic_string, std::string, the iostreams, __gnu_cxx::;
    # also their virtual tables, type infos, guard variables and local statics.
    if(name MATCHES "^_Z(T[VIS]|GVZ|GV|Z)?N?[rVK]*[RO]?(St|Sa|Sb|Ss|Si|So|Sd|9__gnu_cxx)"
       OR name MATCHES "^(_init|_fini|_edata|_end|__bss_start)$")
        continue()
    endif()
    list(GET demangled ${i} line)
    string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" symbol "${line}")
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

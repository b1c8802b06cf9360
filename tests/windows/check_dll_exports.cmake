# Compares the DLL's export table (objdump -p, demangled) with tests/exports.expected,
# the list the Linux build checks too. The two platforms export the same interface but
# spell and place a few things differently; the comparison accounts for exactly these:
#  - 64-bit integers: std::uint64_t is unsigned long long on Windows (LLP64) and unsigned
#    long on Linux. The DLL's names are written the Linux way ("long long" as "long",
#    literal suffixes ull as ul).
#  - On ELF every visible type's vtable, type info and type-info name is exported, and so
#    is a function-local static of an exported inline function. A DLL exports the vtable
#    and type info of the classes it exports (dllexport) and nothing else of that kind, so
#    these expected entries are left out here: type-info names; function-local statics;
#    the vtable and type info of a type none of whose members is exported (the error
#    types and the string array's final class). Type identity does not suffer: on
#    Windows the runtime compares type-info names by their text.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${OBJDUMP} failed on ${DLL}")
endif()
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
if(start EQUAL -1)
    message(FATAL_ERROR "${DLL} has no export table")
endif()
string(SUBSTRING "${dump}" ${start} -1 table)
string(REGEX MATCHALL "\n\t\\[ *[0-9]+\\] [^\n]+" lines "${table}")
set(mangled "")
foreach(line IN LISTS lines)
    string(REGEX REPLACE "^\n\t\\[ *[0-9]+\\] " "" name "${line}")
    list(APPEND mangled ${name})
endforeach()
execute_process(COMMAND ${CXXFILT} ${mangled} OUTPUT_VARIABLE raw RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "${CXXFILT} failed")
endif()
string(REGEX REPLACE "\n$" "" raw "${raw}")
string(REPLACE "\n" ";" demangled "${raw}")

set(actual "")
foreach(symbol IN LISTS demangled)
    string(REPLACE "long long" "long" symbol "${symbol}")
    string(REGEX REPLACE "([0-9])ull([>,)])" "\\1ul\\2" symbol "${symbol}")
    list(APPEND actual "${symbol}")
endforeach()
list(REMOVE_DUPLICATES actual)
list(SORT actual)

file(STRINGS ${EXPECTED} listed)
list(FILTER listed EXCLUDE REGEX "^(#|$)")
set(expected "")
foreach(entry IN LISTS listed)
    if(entry MATCHES "^typeinfo name for " OR entry MATCHES "\\)( const)?::[A-Za-z_][A-Za-z0-9_]*$")
        continue()
    endif()
    if(entry MATCHES "^(vtable|typeinfo) for (.+)$")
        set(type "${CMAKE_MATCH_2}")
        set(exported_members FALSE)
        foreach(other IN LISTS listed)
            string(FIND "${other}" "${type}::" at)
            if(at EQUAL 0)
                set(exported_members TRUE)
                break()
            endif()
        endforeach()
        if(NOT exported_members)
            continue()
        endif()
    endif()
    list(APPEND expected "${entry}")
endforeach()
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
list(LENGTH listed listed_count)
math(EXPR left_out "${listed_count} - ${count}")
message(STATUS "export table matches: ${count} symbols (${left_out} expected entries are ELF-only)")

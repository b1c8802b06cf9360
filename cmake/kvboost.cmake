# The host builds Boost into its own namespace, kvboost, and its types (the string
# array's intrusive pointers and small vectors) carry that name in every signature. A
# macro (boost=kvboost) on the compile line would rename the Boost of everything a
# consumer compiles too, and the two Boosts would share include guards. So the Boost
# headers the host's headers need are laid here as a renamed copy of the system's Boost:
# namespace kvboost, macros KVBOOST_*, headers under kvboost/. It is its own set of
# headers, guards and macros, made from whatever Boost is installed at configure time,
# and it sits beside any Boost a consumer uses in the same translation unit.
#
# Sets ORRERY_KVBOOST_DIR, the directory that holds kvboost/.

set(ORRERY_KVBOOST_DIR ${PROJECT_BINARY_DIR}/kvboost-headers)

# What the host's headers include, and the library's own Boost.Serialization singleton.
set(ORRERY_KVBOOST_ROOTS boost/container/small_vector.hpp boost/intrusive_ptr.hpp boost/serialization/singleton.hpp)

# The headers those include, as the compiler that builds this project finds them.
set(probe ${PROJECT_BINARY_DIR}/kvboost-probe.cpp)
set(probe_source "")
foreach(header IN LISTS ORRERY_KVBOOST_ROOTS)
    string(APPEND probe_source "#include <${header}>\n")
endforeach()
file(WRITE ${probe} "${probe_source}")
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -M -idirafter ${ORRERY_BOOST_HEADERS_DIR} ${probe}
                OUTPUT_VARIABLE dependencies ERROR_VARIABLE errors RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "listing the Boost headers the host needs failed:\n${errors}")
endif()
file(REAL_PATH ${ORRERY_BOOST_HEADERS_DIR}/boost boost_root)
string(REPLACE "\\\n" " " dependencies "${dependencies}")
string(REGEX REPLACE "[ \t\r\n]+" ";" dependencies "${dependencies}")
set(headers "")
foreach(path IN LISTS dependencies)
    if(path MATCHES "/boost/")
        file(REAL_PATH ${path} path)
        file(RELATIVE_PATH relative ${boost_root} ${path})
        if(NOT relative MATCHES "^\\.\\./")
            list(APPEND headers ${relative})
        endif()
    endif()
endforeach()
# All of config/: which of its headers a build reads depends on the compiler and the
# platform, and a consumer's may not be this project's.
file(GLOB_RECURSE config_headers RELATIVE ${boost_root} ${boost_root}/config/*.hpp)
list(APPEND headers config.hpp ${config_headers})
list(REMOVE_DUPLICATES headers)

# Every token that starts with boost or BOOST is renamed: namespaces, macros, include
# guards and the paths of includes, computed ones too (they are built from renamed macros).
# Not after "." or "/": those are web addresses (the licence's among them), never code.
foreach(header IN LISTS headers)
    file(READ ${boost_root}/${header} content)
    string(PREPEND content "\n")
    string(REGEX REPLACE "([^A-Za-z0-9_./])boost" "\\1kvboost" content "${content}")
    string(REGEX REPLACE "([^A-Za-z0-9_./])BOOST" "\\1KVBOOST" content "${content}")
    # Boost's own headers, and so system headers: a consumer's stricter warnings are not
    # meant for them, wherever they are installed and however they are included.
    string(PREPEND content "#pragma GCC system_header")
    set(target ${ORRERY_KVBOOST_DIR}/kvboost/${header})
    # Rewritten only when it changes, so that a reconfigure does not rebuild everything.
    set(old "")
    if(EXISTS ${target})
        file(READ ${target} old)
    endif()
    if(NOT old STREQUAL content)
        file(WRITE ${target} "${content}")
    endif()
endforeach()
list(LENGTH headers count)
message(STATUS "kvboost: ${count} Boost headers renamed into ${ORRERY_KVBOOST_DIR}/kvboost")

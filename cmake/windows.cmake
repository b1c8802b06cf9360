# The cross build for 64-bit Windows (cmake/toolchains/mingw-w64-x86_64.cmake): what the
# MinGW-w64 tree lacks comes from Debian's packages without their Linux system headers.

# DLLs and executables side by side: Windows finds a program's DLLs in its own folder.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)

# Boost is header-only here, and read only to make the host's renamed copy
# (cmake/kvboost.cmake). Its headers reach the cross compiler through a folder that holds
# nothing but a link to boost/: -I/usr/include would bring Linux's C library in.
find_path(ORRERY_BOOST_INCLUDE_DIR boost/version.hpp PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT ORRERY_BOOST_INCLUDE_DIR)
    message(FATAL_ERROR "Boost's headers were not found (Debian package libboost-dev)")
endif()
set(ORRERY_BOOST_HEADERS_DIR ${PROJECT_BINARY_DIR}/boost-headers)
file(MAKE_DIRECTORY ${ORRERY_BOOST_HEADERS_DIR})
file(CREATE_LINK ${ORRERY_BOOST_INCLUDE_DIR}/boost ${ORRERY_BOOST_HEADERS_DIR}/boost SYMBOLIC)

# GoogleTest and GoogleMock, compiled from the sources of Debian's googletest package
# (its libraries are built for Linux). Static: each test executable carries its own.
if(ORRERY_BUILD_TESTS)
    set(ORRERY_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
    set(INSTALL_GTEST OFF)
    set(BUILD_SHARED_LIBS OFF)
    # Its targets come with the GTest:: names that find_package(GTest) gives on Linux.
    add_subdirectory(${ORRERY_GOOGLETEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

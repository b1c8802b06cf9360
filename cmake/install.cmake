# Install rules: both libraries with a versioned SONAME, the inspector (when built), the
# public headers under include/orrery/, a CMake package (find_package(orrery_convenience
# CONFIG) gives orrery::convenience, orrery::reference_host, the header-only
# orrery::testkit, orrery::inspect and orrery_add_plugin) and pkg-config files.
include(CMakePackageConfigHelpers)

set(ORRERY_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/orrery_convenience)

install(TARGETS orrery_host_api orrery_reference_host orrery_convenience orrery_testkit
        EXPORT orrery_convenience_targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
# With its subfolders: the records include detail/ headers, and diagnostics/ is public.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/convenience DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orrery
        COMPONENT development FILES_MATCHING PATTERN "*.hpp")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/orrery_testkit DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orrery
        COMPONENT development FILES_MATCHING PATTERN "*.hpp")
install(FILES ${ORRERY_HOST_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orrery/host COMPONENT development)
install(FILES ${ORRERY_REFERENCE_HOST_HEADERS} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orrery/host/reference
        COMPONENT development)
# The host's Boost, renamed into kvboost (cmake/kvboost.cmake): a copy of the headers,
# so that the package refers to no Boost of the build machine.
install(DIRECTORY ${ORRERY_KVBOOST_DIR}/kvboost DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/orrery COMPONENT development)

install(EXPORT orrery_convenience_targets NAMESPACE orrery:: FILE orrery_convenienceTargets.cmake
        DESTINATION ${ORRERY_PACKAGE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/orrery_convenienceConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/orrery_convenienceConfig.cmake
                              INSTALL_DESTINATION ${ORRERY_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/orrery_convenienceConfigVersion.cmake
                                 COMPATIBILITY ${ORRERY_VERSION_COMPATIBILITY})
install(FILES ${PROJECT_BINARY_DIR}/orrery_convenienceConfig.cmake
              ${PROJECT_BINARY_DIR}/orrery_convenienceConfigVersion.cmake ${PROJECT_SOURCE_DIR}/cmake/orrery_add_plugin.cmake
        DESTINATION ${ORRERY_PACKAGE_DIR} COMPONENT development)

# The .pc files find the prefix from their own place, so that `cmake --install --prefix`
# may choose it after configuring.
file(RELATIVE_PATH ORRERY_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ORRERY_PC_TO_PREFIX "${ORRERY_PC_TO_PREFIX}")
if(ORRERY_HOST_LIBRARY STREQUAL "orrery_reference_host")
    set(ORRERY_PC_REQUIRES "orrery_reference_host = ${PROJECT_VERSION}")
else()
    set(ORRERY_PC_REQUIRES "")
endif()
foreach(pc IN ITEMS orrery_convenience orrery_reference_host)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
endforeach()

# orrery_add_plugin(<name> <source>...): a class-definition plugin, a shared module that a
# loader (orrery-inspect, or a host's own) opens at run time; it exports the build stamp
# and the entry point that ORRERY_DEFINE_PLUGIN defines. Installed with the package, so a
# plugin project needs nothing but find_package(orrery_convenience).
function(orrery_add_plugin name)
    add_library(${name} MODULE ${ARGN})
    target_link_libraries(${name} PRIVATE orrery::convenience)
    target_compile_features(${name} PRIVATE cxx_std_20)
    # No "lib" prefix: the file is named after the plugin, as a user types it. Hidden by
    # default: the loader needs the two C symbols the macro exports, nothing else, and the
    # plugin's own inline code must not bind to another module's copy.
    set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    # This project's own plugins (examples, tests) are built with its warnings as errors.
    if(PROJECT_NAME STREQUAL "orrery_convenience" AND TARGET orrery_warnings)
        target_link_libraries(${name} PRIVATE orrery_warnings)
    endif()
endfunction()

# orrery_add_plugin(<name> <source>...): a class-definition plugin, a shared module that a
# loader opens at run time (it exports the entry point ORRERY_DEFINE_PLUGIN defines).
function(orrery_add_plugin name)
    add_library(${name} MODULE ${ARGN})
    target_link_libraries(${name} PRIVATE orrery::convenience orrery_warnings)
    # No "lib" prefix: the file is named after the plugin, as a user types it.
    set_target_properties(${name} PROPERTIES PREFIX "")
endfunction()

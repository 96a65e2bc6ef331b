# zarvo_copy_beside_program(<target> <output list variable> <sources...>):
# copies files kept below res/ as they are to the same place below the
# program folder, builds them with <target> (which the main program depends
# on) and installs them beside the programs.
include_guard(GLOBAL)
include(GNUInstallDirs)
function(zarvo_copy_beside_program target outputs_var)
  set(outputs)
  foreach(src IN LISTS ARGN)
    file(RELATIVE_PATH rel ${CMAKE_CURRENT_FUNCTION_LIST_DIR} ${src})
    set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${rel})
    get_filename_component(out_dir ${out} DIRECTORY)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${out}
      DEPENDS ${src}
      VERBATIM)
    list(APPEND outputs ${out})
    get_filename_component(rel_dir ${rel} DIRECTORY)
    install(FILES ${out} DESTINATION ${CMAKE_INSTALL_BINDIR}/${rel_dir})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
  if(TARGET Zarvo)
    add_dependencies(Zarvo ${target})
  endif()
  set(${outputs_var} ${outputs} PARENT_SCOPE)
endfunction()

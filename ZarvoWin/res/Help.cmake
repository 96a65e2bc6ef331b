# Help pages. Each program's pages in each language are kept in
# res/<Abbr>/<Program><Abbr>/ (HTML with one stylesheet, pictures beside
# them) and copied as they are into "<program folder>/<Abbr>/<Program><Abbr>/",
# where the language selector finds a language's help at its index.html.
file(GLOB_RECURSE zarvo_help_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/???/Zarvo*/*)
set(zarvo_help_outputs)
foreach(src IN LISTS zarvo_help_sources)
  file(RELATIVE_PATH rel ${CMAKE_CURRENT_LIST_DIR} ${src})
  set(out ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${rel})
  get_filename_component(out_dir ${out} DIRECTORY)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${src} ${out}
    DEPENDS ${src}
    VERBATIM)
  list(APPEND zarvo_help_outputs ${out})
endforeach()
set(ZARVO_HELP_DIR_FRA ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/ZarvoFra
    CACHE INTERNAL "The built French help pages of the main program")
add_custom_target(help_pages ALL DEPENDS ${zarvo_help_outputs})
if(TARGET Zarvo)
  add_dependencies(Zarvo help_pages)
endif()
# Installed beside the programs, in the language folders where they look.
include(GNUInstallDirs)
foreach(out IN LISTS zarvo_help_outputs)
  file(RELATIVE_PATH rel ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${out})
  get_filename_component(rel_dir ${rel} DIRECTORY)
  install(FILES ${out} DESTINATION ${CMAKE_INSTALL_BINDIR}/${rel_dir})
endforeach()

# Help pages. Each program's pages in each language are kept in
# res/<Abbr>/<Program><Abbr>/ (HTML with one stylesheet, pictures beside
# them) and copied as they are into "<program folder>/<Abbr>/<Program><Abbr>/",
# where the language selector finds a language's help at its index.html.
include(${CMAKE_CURRENT_LIST_DIR}/CopyBesideProgram.cmake)
file(GLOB_RECURSE zarvo_help_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/???/Zarvo*/*)
zarvo_copy_beside_program(help_pages zarvo_help_outputs ${zarvo_help_sources})
set(ZARVO_HELP_DIR_FRA ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/ZarvoFra
    CACHE INTERNAL "The built French help pages of the main program")

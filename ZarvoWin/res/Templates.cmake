# Print templates. Each language's templates are kept in
# res/<Abbr>/Templates/ and copied as they are into
# "<program folder>/<Abbr>/Templates/", where the language selector finds
# the templates folder of the interface language.
include(${CMAKE_CURRENT_LIST_DIR}/CopyBesideProgram.cmake)
file(GLOB zarvo_template_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/???/Templates/*.tpl)
zarvo_copy_beside_program(print_templates zarvo_template_outputs ${zarvo_template_sources})
set(ZARVO_TEMPLATES_DIR_FRA ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/Templates
    CACHE INTERNAL "The built French print templates")

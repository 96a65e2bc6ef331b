# Interface texts. Each text source res/<Abbr>/<Program><Abbr>.txt becomes
# the language database "<program folder>/<Abbr>/<Program><Abbr>.sdb"; the
# French sources also become the tables compiled into both programs (library
# builtin_texts, which the platform layer links: the last fallback of every
# lookup). The tool fails the build, naming file and line, on a faulty row,
# a duplicate key, a translation whose inserts differ from the French, and a
# text the code asks for by number that has no French text.
set(ZARVO_TEXT_TOOL_DIR ${CMAKE_CURRENT_LIST_DIR}/../localisation)
add_executable(zarvo_language_files
  ${CMAKE_CURRENT_LIST_DIR}/MakeLanguageFiles.cpp
  ${ZARVO_TEXT_TOOL_DIR}/TextSource.cpp ${ZARVO_TEXT_TOOL_DIR}/TextSource.h)
target_include_directories(zarvo_language_files PRIVATE ${ZARVO_TEXT_TOOL_DIR})
target_link_libraries(zarvo_language_files PRIVATE Qt6::Core PkgConfig::SQLITE3)
set_target_properties(zarvo_language_files PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

file(GLOB zarvo_text_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/???/Zarvo*.txt)
set(zarvo_language_dbs)
foreach(src IN LISTS zarvo_text_sources)
  get_filename_component(abbr_dir ${src} DIRECTORY)
  get_filename_component(abbr ${abbr_dir} NAME)
  get_filename_component(name ${src} NAME_WE)
  list(APPEND zarvo_language_dbs ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${abbr}/${name}.sdb)
endforeach()
set(ZARVO_LANGUAGE_DB_FRA ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/ZarvoFra.sdb
    CACHE INTERNAL "The built French language database of the main program")
set(ZARVO_TRAY_LANGUAGE_DB_FRA ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/ZarvoTrayFra.sdb
    CACHE INTERNAL "The built French language database of the tray program")

set(zarvo_builtin_tables ${CMAKE_BINARY_DIR}/generated/BuiltInTextTables.cpp)
add_custom_command(
  OUTPUT ${zarvo_builtin_tables} ${zarvo_language_dbs}
  COMMAND zarvo_language_files build ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${zarvo_builtin_tables}
  DEPENDS zarvo_language_files ${zarvo_text_sources}
  COMMENT "Building the language databases and the compiled-in French texts"
  VERBATIM)
add_library(builtin_texts STATIC ${zarvo_builtin_tables})
target_include_directories(builtin_texts PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../platform)

# Every text id the code names must have its French text.
file(GLOB_RECURSE zarvo_code_files CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/../*.cpp ${CMAKE_CURRENT_LIST_DIR}/../*.h)
set(zarvo_text_ids_checked ${CMAKE_BINARY_DIR}/generated/text_ids_checked.stamp)
add_custom_command(
  OUTPUT ${zarvo_text_ids_checked}
  COMMAND zarvo_language_files check-code ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_LIST_DIR}/.. ${zarvo_text_ids_checked}
  DEPENDS zarvo_language_files ${zarvo_text_sources} ${zarvo_code_files}
  COMMENT "Checking that every text the code asks for has its French text"
  VERBATIM)
add_custom_target(language_files ALL DEPENDS ${zarvo_builtin_tables} ${zarvo_language_dbs} ${zarvo_text_ids_checked})

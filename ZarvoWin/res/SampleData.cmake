# The sample data the wizards give a new user are kept as SQL text; the build
# runs them into "<program folder>/Fra/Demo/": the database ZarvoFra.sdb and
# the report definitions ZarvoFra.rpt.
add_executable(zarvo_sql_to_db ${CMAKE_CURRENT_LIST_DIR}/SqlToDb.cpp)
target_link_libraries(zarvo_sql_to_db PRIVATE PkgConfig::SQLITE3)
set_target_properties(zarvo_sql_to_db PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

set(ZARVO_SAMPLE_DB_FRA ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/Demo/ZarvoFra.sdb
    CACHE INTERNAL "The built French sample database")
set(ZARVO_SAMPLE_RPT_FRA ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/Demo/ZarvoFra.rpt
    CACHE INTERNAL "The built French sample report definitions")
add_custom_command(
  OUTPUT ${ZARVO_SAMPLE_DB_FRA}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/Demo
  COMMAND zarvo_sql_to_db ${CMAKE_CURRENT_LIST_DIR}/Fra/Demo/ZarvoFra.sql ${ZARVO_SAMPLE_DB_FRA}
  DEPENDS zarvo_sql_to_db ${CMAKE_CURRENT_LIST_DIR}/Fra/Demo/ZarvoFra.sql
  COMMENT "Building the French sample database"
  VERBATIM)
add_custom_command(
  OUTPUT ${ZARVO_SAMPLE_RPT_FRA}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Fra/Demo
  COMMAND zarvo_sql_to_db ${CMAKE_CURRENT_LIST_DIR}/Fra/Demo/ZarvoFra.rpt.sql ${ZARVO_SAMPLE_RPT_FRA}
  DEPENDS zarvo_sql_to_db ${CMAKE_CURRENT_LIST_DIR}/Fra/Demo/ZarvoFra.rpt.sql
  COMMENT "Building the French sample report definitions"
  VERBATIM)
add_custom_target(sample_data ALL DEPENDS ${ZARVO_SAMPLE_DB_FRA} ${ZARVO_SAMPLE_RPT_FRA})
# The program offers the sample data from its first start: building it
# builds them.
if(TARGET Zarvo)
  add_dependencies(Zarvo sample_data)
endif()

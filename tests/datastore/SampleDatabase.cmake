# The sample database tests read the file the build makes.
if(TARGET datastore_SampleDatabaseTest)
  target_compile_definitions(datastore_SampleDatabaseTest PRIVATE ZARVO_SAMPLE_DB_FRA="${ZARVO_SAMPLE_DB_FRA}")
  add_dependencies(datastore_SampleDatabaseTest sample_data)
endif()

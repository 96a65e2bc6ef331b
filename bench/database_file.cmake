zarvo_add_bench(bench_database_file SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/DatabaseFileBench.cpp LIBS datastore)

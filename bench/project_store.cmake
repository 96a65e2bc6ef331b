zarvo_add_bench(bench_project_store SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ProjectStoreBench.cpp LIBS datastore)

zarvo_add_bench(bench_sqlite_wrapper SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/SqliteQueryBench.cpp LIBS datastore)

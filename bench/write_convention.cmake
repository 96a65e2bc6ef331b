zarvo_add_bench(bench_write_convention SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WriteConventionBench.cpp LIBS datastore)

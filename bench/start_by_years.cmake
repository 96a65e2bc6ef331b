zarvo_add_bench(bench_start_by_years SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/StartByYearsBench.cpp LIBS shell)

zarvo_add_bench(bench_start_task SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/StartTaskBench.cpp LIBS shell)

zarvo_add_bench(bench_report_grid SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ReportGridBench.cpp LIBS reports)

zarvo_add_bench(bench_report_build SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ReportBuildBench.cpp LIBS reports)

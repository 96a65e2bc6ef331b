zarvo_add_bench(bench_report_export SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ReportExportBench.cpp LIBS reports)

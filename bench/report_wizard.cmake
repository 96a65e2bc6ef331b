zarvo_add_bench(bench_report_wizard SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ReportWizardBench.cpp LIBS reports)

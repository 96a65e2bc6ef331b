zarvo_add_bench(bench_report_print SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ReportPrintBench.cpp LIBS reports)
target_compile_definitions(bench_report_print PRIVATE ZARVO_TEMPLATES_DIR_FRA="${ZARVO_TEMPLATES_DIR_FRA}/")
add_dependencies(bench_report_print print_templates)

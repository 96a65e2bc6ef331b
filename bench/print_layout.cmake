zarvo_add_bench(bench_print_layout SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/PrintLayoutBench.cpp LIBS reports)
target_compile_definitions(bench_print_layout PRIVATE ZARVO_TEMPLATES_DIR_FRA="${ZARVO_TEMPLATES_DIR_FRA}/")
add_dependencies(bench_print_layout print_templates)

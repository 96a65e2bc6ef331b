zarvo_add_bench(bench_project_picker SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ProjectPickerBench.cpp LIBS timeentry)

zarvo_add_bench(bench_project_pane SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ProjectPaneBench.cpp LIBS shell)

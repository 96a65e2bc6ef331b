zarvo_add_bench(bench_gantt_chart SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/GanttChartBench.cpp LIBS planning)

zarvo_add_bench(bench_week_view SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WeekViewBench.cpp LIBS timeentry)

zarvo_add_bench(bench_calendar_views SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/CalendarViewsBench.cpp LIBS timeentry)

zarvo_add_bench(bench_working_calendar SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/WorkingCalendarBench.cpp LIBS datastore)

zarvo_add_bench(bench_time_entries SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/TimeEntriesBench.cpp LIBS datastore timeentry)

zarvo_add_bench(bench_user_switch SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/UserSwitchBench.cpp LIBS datastore)

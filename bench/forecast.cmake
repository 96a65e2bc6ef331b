zarvo_add_bench(bench_forecast SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ForecastBench.cpp LIBS datastore)

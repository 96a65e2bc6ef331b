zarvo_add_bench(bench_forecast_grid SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ForecastGridBench.cpp LIBS planning)

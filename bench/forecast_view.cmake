zarvo_add_bench(bench_forecast_view SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ForecastViewBench.cpp LIBS planning)

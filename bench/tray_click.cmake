zarvo_add_bench(bench_tray_click SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/TrayClickBench.cpp LIBS tray)

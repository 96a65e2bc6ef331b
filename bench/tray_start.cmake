zarvo_add_bench(bench_tray_start SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/TrayStartBench.cpp LIBS tray)

zarvo_add_bench(bench_tray_drawn_controls SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/TrayDrawnControlsBench.cpp LIBS tray)

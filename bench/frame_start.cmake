zarvo_add_bench(bench_frame_start SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/FrameStartBench.cpp LIBS shell)

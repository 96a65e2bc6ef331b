zarvo_add_bench(bench_imaging_bmp SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ImagingBmpBench.cpp LIBS zarvo_imaging Qt6::Gui)

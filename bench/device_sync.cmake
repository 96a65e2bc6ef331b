zarvo_add_bench(bench_device_sync SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/DeviceSyncBench.cpp LIBS devicesync)

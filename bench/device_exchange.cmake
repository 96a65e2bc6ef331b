zarvo_add_bench(bench_device_exchange SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/DeviceExchangeBench.cpp LIBS devicesync)

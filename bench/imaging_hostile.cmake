zarvo_add_bench(bench_imaging_hostile SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ImagingHostileBench.cpp LIBS zarvo_imaging)
# The small hostile files are made by the same generators as the tests'.
target_include_directories(bench_imaging_hostile PRIVATE ${CMAKE_SOURCE_DIR}/tests/imaging)

zarvo_add_bench(bench_imaging_codecs SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ImagingCodecsBench.cpp LIBS zarvo_imaging)
target_compile_definitions(bench_imaging_codecs PRIVATE IMAGING_FIXTURES="${CMAKE_SOURCE_DIR}/tests/imaging/fixtures")
# The small hostile files are made by the same generators as the tests'.
target_include_directories(bench_imaging_codecs PRIVATE ${CMAKE_SOURCE_DIR}/tests/imaging)

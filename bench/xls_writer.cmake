zarvo_add_bench(bench_xls_writer SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/XlsWriterBench.cpp LIBS xls)

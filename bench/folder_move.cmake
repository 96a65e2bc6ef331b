zarvo_add_bench(bench_folder_move SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/FolderMoveBench.cpp LIBS shell)

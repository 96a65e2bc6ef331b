zarvo_add_bench(bench_backup_restore SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/BackupRestoreBench.cpp LIBS shell)

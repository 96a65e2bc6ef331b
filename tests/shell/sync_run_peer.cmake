# The record of a synchronisation killed between its writes, and where it
# ends (tests/devicesync/SyncRunPeer.h).
target_compile_definitions(shell_StoppedRunEndsTest PRIVATE SYNC_RUN_PEER="$<TARGET_FILE:sync_run_peer>")
target_include_directories(shell_StoppedRunEndsTest PRIVATE ${CMAKE_SOURCE_DIR}/tests/devicesync)
add_dependencies(shell_StoppedRunEndsTest sync_run_peer)

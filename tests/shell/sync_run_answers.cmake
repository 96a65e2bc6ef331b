# The answer that lets a synchronisation run go to its end
# (tests/devicesync/SyncRunAnswers.h).
target_include_directories(shell_DeviceSyncCommandTest PRIVATE ${CMAKE_SOURCE_DIR}/tests/devicesync)

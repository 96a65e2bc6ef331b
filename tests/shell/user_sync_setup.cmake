# A device synchronisation set up as its dialog sets it up
# (tests/devicesync/UserSyncSetup.h).
target_include_directories(shell_CopyModesTest PRIVATE ${CMAKE_SOURCE_DIR}/tests/devicesync)

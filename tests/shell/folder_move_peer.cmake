# The folder move test kills a process that is moving a folder.
add_executable(folder_move_peer ${CMAKE_CURRENT_LIST_DIR}/FolderMovePeer.cpp)
target_link_libraries(folder_move_peer PRIVATE shell)
target_compile_definitions(shell_FolderMovePlanTest PRIVATE FOLDER_MOVE_PEER="$<TARGET_FILE:folder_move_peer>")
add_dependencies(shell_FolderMovePlanTest folder_move_peer)

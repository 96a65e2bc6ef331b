# The single-instance test runs real copies of the program's start.
add_executable(instance_peer ${CMAKE_CURRENT_LIST_DIR}/InstancePeer.cpp)
target_link_libraries(instance_peer PRIVATE shell)
target_compile_definitions(shell_SingleInstanceTest PRIVATE INSTANCE_PEER="$<TARGET_FILE:instance_peer>")
add_dependencies(shell_SingleInstanceTest instance_peer)

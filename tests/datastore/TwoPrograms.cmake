# A second program on the same database, for the two-program tests.
add_executable(datastore_peer ${CMAKE_CURRENT_SOURCE_DIR}/DataStorePeer.cpp)
target_link_libraries(datastore_peer PRIVATE datastore)
if(TARGET datastore_TwoProgramsTest)
  target_compile_definitions(datastore_TwoProgramsTest PRIVATE DATASTORE_PEER="$<TARGET_FILE:datastore_peer>")
  add_dependencies(datastore_TwoProgramsTest datastore_peer)
endif()

# Two programs writing one database at once: the second programs are the
# data store's test peer (built here when the tests are not).
if(NOT TARGET datastore_peer)
  add_executable(datastore_peer ${CMAKE_SOURCE_DIR}/tests/datastore/DataStorePeer.cpp)
  target_link_libraries(datastore_peer PRIVATE datastore)
endif()
zarvo_add_bench(bench_two_programs SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/TwoProgramsBench.cpp LIBS datastore)
target_compile_definitions(bench_two_programs PRIVATE DATASTORE_PEER="$<TARGET_FILE:datastore_peer>")
add_dependencies(bench_two_programs datastore_peer)

# The other program saving entries while the network update writes the
# local database.
target_compile_definitions(shell_NetworkUpdateTest PRIVATE DATASTORE_PEER="$<TARGET_FILE:datastore_peer>")
add_dependencies(shell_NetworkUpdateTest datastore_peer)

# The report header draws its logo through the picture library.
target_link_libraries(datastore PUBLIC imaging)

# The program-wide printer settings and the papers of the default printer.
find_package(Qt6 REQUIRED COMPONENTS PrintSupport)
target_link_libraries(reports PUBLIC Qt6::PrintSupport)

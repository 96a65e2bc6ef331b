# The image lists draw SVG files with Qt SVG.
find_package(Qt6 REQUIRED COMPONENTS Svg)
target_link_libraries(controls PUBLIC Qt6::Svg)

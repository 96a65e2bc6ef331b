# The pictures of the painted controls (sliders, start-up picture) are SVG
# files under res/Pictures, compiled into the library and rendered with Qt SVG.
find_package(Qt6 REQUIRED COMPONENTS Svg)
target_link_libraries(controls PUBLIC Qt6::Svg)
file(GLOB painted_picture_files CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../res/Pictures/*.svg)
qt_add_resources(controls painted_pictures
  PREFIX /pictures
  BASE ${CMAKE_CURRENT_LIST_DIR}/../res/Pictures
  FILES ${painted_picture_files})

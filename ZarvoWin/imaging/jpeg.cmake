# The JPEG decoder calls libjpeg (API version 62).
find_package(JPEG REQUIRED)
target_link_libraries(zarvo_imaging PRIVATE JPEG::JPEG)

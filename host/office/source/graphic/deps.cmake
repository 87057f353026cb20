# The graphic provider decodes images with libpng, libjpeg (libjpeg-turbo) and giflib.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(GIF REQUIRED)
target_link_libraries(mergedqx PRIVATE PNG::PNG JPEG::JPEG GIF::GIF)

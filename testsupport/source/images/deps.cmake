# The image fixtures are made with the formats' own encoders.
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
find_package(GIF REQUIRED)
target_link_libraries(qx_testsupport PRIVATE PNG::PNG JPEG::JPEG GIF::GIF)

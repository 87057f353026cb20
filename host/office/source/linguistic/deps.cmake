# The linguistic back ends: Hunspell for spelling and morphology, libnumbertext
# for numbers in words, ICU for the dictionaries' character encodings.
pkg_check_modules(HUNSPELL REQUIRED IMPORTED_TARGET hunspell)
pkg_check_modules(NUMBERTEXT REQUIRED IMPORTED_TARGET libnumbertext)
pkg_get_variable(NUMBERTEXT_DATA_DIR libnumbertext pkgdatadir)
if(NOT NUMBERTEXT_DATA_DIR)
  set(NUMBERTEXT_DATA_DIR /usr/share/libnumbertext)
endif()
target_link_libraries(mergedqx PRIVATE PkgConfig::HUNSPELL PkgConfig::NUMBERTEXT ICU::uc)
set_property(SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/source/linguistic/numbertext.cxx APPEND PROPERTY
  COMPILE_DEFINITIONS QX_NUMBERTEXT_DATA_DIR="${NUMBERTEXT_DATA_DIR}")

# Shared build helpers.

# qx_test(NAME LABEL sources... LIBS libs...)
# One GoogleTest binary per library, registered with CTest under the library's label.
# Test binaries live beside the libraries in program/ so that they find them through $ORIGIN.
function(qx_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main qx_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  set_target_properties(${name} PROPERTIES BUILD_RPATH "${QX_PROGRAM_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES LABELS ${T_LABEL}
    ENVIRONMENT "BRAND_BASE_DIR=${CMAKE_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# qx_benchmark(NAME sources... LIBS libs...)
function(qx_benchmark name)
  if(NOT QX_BENCHMARKS)
    return()
  endif()
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark qx_warnings)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/benchmarks
    BUILD_RPATH "${QX_PROGRAM_DIR}")
endfunction()

# Everything that lands in program/ carries exactly the RUNPATH "$ORIGIN", as in an
# installed tree (the default build RUNPATH would add an empty entry, which makes
# the loader search the working directory).  Targets placed elsewhere (tests,
# benchmarks, build tools) keep their build RUNPATH into program/.
function(qx_program_rpaths dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(out ${t} RUNTIME_OUTPUT_DIRECTORY)
    elseif(type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      get_target_property(out ${t} LIBRARY_OUTPUT_DIRECTORY)
    else()
      continue()
    endif()
    if(out STREQUAL "${QX_PROGRAM_DIR}")
      set_target_properties(${t} PROPERTIES BUILD_WITH_INSTALL_RPATH ON)
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    qx_program_rpaths(${sub})
  endforeach()
endfunction()

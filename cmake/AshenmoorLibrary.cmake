# ashenmoor_library(<name> DIR <folder> [DEPS <targets...>])
# One static library per folder: every .cpp in the folder (not its subfolders' tests),
# so adding a class is adding its two files.
function(ashenmoor_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()  # headers only (so far)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# ashenmoor_unit_test(<name> LIBS <targets...>)
# Every .cpp of the calling folder is one GoogleTest program unit_<name>, labelled "unit".
function(ashenmoor_unit_test name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(unit_${name} ${srcs})
  target_link_libraries(unit_${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(unit_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/unit ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(unit_${name} PRIVATE
    ASHENMOOR_TESTDATA="${CMAKE_SOURCE_DIR}/tests/testdata"
    ASHENMOOR_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME unit_${name} COMMAND unit_${name} --gtest_brief=1)
  set_tests_properties(unit_${name} PROPERTIES LABELS unit TIMEOUT 600)
endfunction()

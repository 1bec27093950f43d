# Libraries and test suites are made from the files present in their folder, so adding a
# class or a test file needs no build edit.

# qs_core_library(<target> <folder> [DEPS libs...])
# A core library: no wx include path, so a wx include in it fails to compile.
function(qs_core_library target folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(srcs)
    add_library(${target} STATIC ${srcs})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# qs_test_suite(<name> <folder> LABELS l... LIBS libs... [TIMEOUT s] [GUI] [SERIAL])
# One gtest executable per test folder; each test case is its own CTest test so ctest -j
# runs them side by side.
function(qs_test_suite name folder)
  cmake_parse_arguments(ARG "GUI;SERIAL" "TIMEOUT" "LABELS;LIBS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qs_testsupport GTest::gtest GTest::gmock)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE qs_guitestmain)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_compile_definitions(${name} PRIVATE
    QS_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
    QS_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QS_DATA_BUILD_DIR="${QS_DATA_BUILD_DIR}")
  set(serial FALSE)
  if(ARG_SERIAL)
    set(serial TRUE)
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 30
    PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}" SKIP_RETURN_CODE 77 RUN_SERIAL ${serial})
endfunction()

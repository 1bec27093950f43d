# A CTest check that the core also compiles with clang++ (see tests/checks/check_clang_core.sh):
# added when clang++ is found and the build's own compiler is another one. Its sub-build lives
# in the build folder and is incremental, so after the first run it costs little.
option(QS_CLANG_CHECK "Check that the core compiles with clang++ too" ON)
if(QS_CLANG_CHECK AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  find_program(QS_CLANGXX NAMES clang++ clang++-19 clang++-18 clang++-17 clang++-16 clang++-15 clang++-14)
  if(QS_CLANGXX)
    set(qs_core_targets)
    foreach(t qs_platform qs_link qs_programdata qs_sidedocs qs_appmodel qs_display duravane-sim dictgen
              quillset-demodoc)
      if(TARGET ${t})
        get_target_property(type ${t} TYPE)
        if(NOT type STREQUAL "INTERFACE_LIBRARY")
          list(APPEND qs_core_targets ${t})
        endif()
      endif()
    endforeach()
    add_test(NAME clang.core_compiles_with_clang
      COMMAND ${PROJECT_SOURCE_DIR}/tests/checks/check_clang_core.sh ${PROJECT_SOURCE_DIR}
              ${CMAKE_BINARY_DIR}/clang-core ${QS_CLANGXX} ${qs_core_targets})
    set_tests_properties(clang.core_compiles_with_clang
      PROPERTIES TIMEOUT 1800 LABELS "check" SKIP_RETURN_CODE 77 RUN_SERIAL TRUE)
  endif()
endif()

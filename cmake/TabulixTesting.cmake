# tabulix_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib1 lib2 [LABEL label])
# Builds one GoogleTest executable and registers its cases with CTest, with the label given
# (for `ctest -L label`).
function(tabulix_add_test)
  cmake_parse_arguments(T "" "NAME;LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  # The test sources of a program compile together, a few per unit: each of them alone spends
  # most of its time on the same GoogleTest and project headers and the same template code.
  set_target_properties(${T_NAME} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 6)
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  set(label)
  if(T_LABEL)
    set(label LABELS ${T_LABEL})
  endif()
  # One variable per property: the discovered tests' property list splits a value at ";", so
  # "A=1;B=2" in ENVIRONMENT would set A alone (and a label list would break the same way).
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES ${label} ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "TABULIX_SOURCE_DIR=set:${PROJECT_SOURCE_DIR}")
endfunction()

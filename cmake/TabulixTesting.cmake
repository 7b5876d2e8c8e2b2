# tabulix_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib1 lib2)
# Builds one GoogleTest executable and registers its cases with CTest.
function(tabulix_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  # One variable per property: the discovered tests' property list splits a value at ";", so
  # "A=1;B=2" in ENVIRONMENT would set A alone.
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
               ENVIRONMENT_MODIFICATION "TABULIX_SOURCE_DIR=set:${PROJECT_SOURCE_DIR}")
endfunction()

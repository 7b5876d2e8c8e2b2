# Number formats, text metrics and column-width maths of the embedded spreadsheet (tabulix_numfmt).
# Included from spreadsheet/CMakeLists.txt; paths are relative to this folder.

find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)

add_library(tabulix_numfmt
  ${CMAKE_CURRENT_LIST_DIR}/decimal_digits.cpp
  ${CMAKE_CURRENT_LIST_DIR}/date_serial.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_conventions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_format_parser.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_format_render.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_format_fraction.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_format.cpp
  ${CMAKE_CURRENT_LIST_DIR}/column_width.cpp
  ${CMAKE_CURRENT_LIST_DIR}/text_measurer.cpp
)
target_include_directories(tabulix_numfmt PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>)
target_link_libraries(tabulix_numfmt PUBLIC tabulix_cells PRIVATE Freetype::Freetype Fontconfig::Fontconfig)
tabulix_install_library(tabulix_numfmt EXPORT_NAME numfmt)

tabulix_add_test(NAME numfmt_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/tests/number_format_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/text_measurer_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tests/fit_shape_test.cpp
  LIBS tabulix_numfmt)

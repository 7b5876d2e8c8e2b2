# The Debian packages (cpack -G DEB in the build folder), split as Debian splits a library and its
# programs: one package per install component.
#
#   libtabulix1      library        the shared library
#   libtabulix-dev   development    headers, the CMake package, tabulix.pc
#   tabulix          command        the tabulix command, its man page, the demonstration's data
#   tabulix-gui      programs       the Qt programs and the designer's plug-in
#   tabulix-calc     calc           the LibreOffice Calc plug-in
#   tabulix-doc      documentation  the user's guide and the example programs
#
# dpkg-shlibdeps finds each package's shared libraries. The command and the library need neither
# Qt nor LibreOffice; only tabulix-gui and tabulix-calc do.
set(TABULIX_MAINTAINER "Tabulix maintainers <maintainers@users.noreply.c-seed-1deaca57.example>"
  CACHE STRING "The Maintainer field of the Debian packages")

set(soname_package libtabulix${PROJECT_VERSION_MAJOR})
set(deb_components library development command documentation)
set(deb_packages ${soname_package} libtabulix-dev tabulix tabulix-doc)
if(TARGET tabulix-view)
  list(APPEND deb_components programs)
  list(APPEND deb_packages tabulix-gui)
endif()
if(TARGET tabulix_calc)
  list(APPEND deb_components calc)
  list(APPEND deb_packages tabulix-calc)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/tabulix-calc.lintian-overrides RENAME tabulix-calc
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT calc)
endif()

# Every package carries the copyright file and the changelog in /usr/share/doc/PACKAGE.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/changelog OUTPUT_FILE ${changelog}
  COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/changelog)
foreach(component package IN ZIP_LISTS deb_components deb_packages)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/copyright ${changelog}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
  string(TOUPPER ${component} COMPONENT)
  set(CPACK_DEBIAN_${COMPONENT}_PACKAGE_NAME ${package})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tabulix)
set(CPACK_PACKAGE_VENDOR "Tabulix")
set(CPACK_PACKAGE_CONTACT "${TABULIX_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TABULIX_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${deb_components})
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/ldconfig_trigger.cmake)

# The column fitting measures texts with these fonts (the library's and the command's own).
set(fonts "fonts-dejavu-core, fonts-liberation2")

set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_LIBRARY_PACKAGE_DEPENDS "${fonts}")
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "data sets laid out in spreadsheet workbooks - library
Tabulix copies the records of a data set (a dBASE table, an SQLite query,
records in memory) into a spreadsheet workbook: a title, headings, a
formatted data block, fitted columns, summary formulas and charts, saved as
an .xlsx file by an embedded spreadsheet.
.
This package holds the shared library.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SUGGESTS "tabulix-doc")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "data sets laid out in spreadsheet workbooks - development files
Tabulix copies the records of a data set into a spreadsheet workbook and
saves it as an .xlsx file.
.
This package holds the C++20 headers, the CMake package
(find_package(Tabulix)) and the pkg-config file (tabulix.pc) for building
programs with the library.")

set(CPACK_DEBIAN_COMMAND_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_COMMAND_PACKAGE_DEPENDS "${fonts}")
set(CPACK_DEBIAN_COMMAND_PACKAGE_SUGGESTS "tabulix-doc")
set(CPACK_COMPONENT_COMMAND_DESCRIPTION "data sets laid out in spreadsheet workbooks - command
Tabulix copies the records of a data set into a spreadsheet workbook: a
title, headings, a formatted data block, fitted columns and summary
formulas.
.
The tabulix command transfers a dBASE table, an SQLite query or the data set
of a form file into an .xlsx file, without a window and without an office
suite. The package also holds the demonstration's sales table and form file.")

set(CPACK_DEBIAN_PROGRAMS_PACKAGE_SECTION misc)
set(CPACK_COMPONENT_PROGRAMS_DEPENDS command)
set(CPACK_COMPONENT_PROGRAMS_DESCRIPTION "data sets laid out in spreadsheet workbooks - Qt programs
Tabulix copies the records of a data set into a spreadsheet workbook.
.
This package holds the Qt programs: tabulix-view shows a report in the
embedded spreadsheet's own window, PDemoTabulix drives every operation of
the component by hand on a sample table, and tabulix-designer edits form
files with the design-time package PackTabulix, which it loads as a plug-in.")

set(CPACK_DEBIAN_CALC_PACKAGE_SECTION misc)
set(CPACK_COMPONENT_CALC_DEPENDS command)
set(CPACK_DEBIAN_CALC_PACKAGE_DEPENDS "libreoffice-calc-nogui | libreoffice-calc")
set(CPACK_DEBIAN_CALC_PACKAGE_ENHANCES "tabulix")
set(CPACK_COMPONENT_CALC_DESCRIPTION "data sets laid out in spreadsheet workbooks - LibreOffice Calc
Tabulix copies the records of a data set into a spreadsheet workbook.
.
This package holds the plug-in through which the tabulix command (option
--application calc) lays its reports out in LibreOffice Calc instead of the
embedded spreadsheet.")

set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_SECTION doc)
set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DOCUMENTATION_PACKAGE_SHLIBDEPS OFF)
set(CPACK_COMPONENT_DOCUMENTATION_DESCRIPTION "data sets laid out in spreadsheet workbooks - documentation
Tabulix copies the records of a data set into a spreadsheet workbook.
.
This package holds the user's guide, which covers the command, the form
files and the C++ library, and two example programs built against the
library.")

include(CPack)

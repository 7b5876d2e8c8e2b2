# Install rules shared by the layers. The layers' libraries are the parts of one shared library,
# libtabulix (packaging/CMakeLists.txt links them into it and exports it as Tabulix::tabulix);
# their public headers go under include/tabulix/<layer>/, the programs into bin/ and the
# plug-ins into lib/tabulix/.
#
#   tabulix_install_library(tabulix_data EXPORT_NAME data HEADERS data_set.h field.h ...)
#   tabulix_install_program(tabulix-view COMPONENT programs)
#   tabulix_install_plugin(PackTabulix COMPONENT programs)
#
# Every installed file belongs to one install component, and each component is one Debian
# package (packaging/CMakeLists.txt): library (libtabulix.so.1), development (headers, CMake
# package, tabulix.pc), command (the tabulix command), programs (the Qt programs and the
# designer's plug-in), calc (the LibreOffice Calc plug-in), documentation (guide, examples).
#
# The sources include each other as "layer/file.h" with the source root on the include path.
# Installed headers are rewritten to include <tabulix/layer/file.h>, so that a user's program
# needs only <prefix>/include on its path and our folder names cannot meet theirs.
include(GNUInstallDirs)

set(TABULIX_PUBLIC_HEADER_ROOT ${PROJECT_BINARY_DIR}/public)
set(TABULIX_PUBLIC_HEADER_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/TabulixPublicHeader.cmake)

# A layer is a static library inside the project (tests and programs link it directly, internals
# included) and a part of libtabulix, which offers programs only what the public headers mark
# TABULIX_API (framework/export.h): hence position-independent code and hidden symbols.
function(tabulix_install_library target)
  cmake_parse_arguments(L "" "EXPORT_NAME" "HEADERS" ${ARGN})
  if(NOT L_EXPORT_NAME)
    message(FATAL_ERROR "tabulix_install_library(${target}): EXPORT_NAME is missing")
  endif()
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "STATIC_LIBRARY")
    message(FATAL_ERROR "tabulix_install_library(${target}): a part of libtabulix must be a static library")
  endif()
  set_target_properties(${target} PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  # The headers use C++20; a program that includes them compiles as C++20 too.
  target_compile_features(${target} PUBLIC cxx_std_20)
  add_library(Tabulix::${L_EXPORT_NAME} ALIAS ${target})
  set_property(GLOBAL APPEND PROPERTY TABULIX_LIBRARY_PARTS ${target})

  file(RELATIVE_PATH layer ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(rewritten)
  foreach(header IN LISTS L_HEADERS)
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${header})
    set(output ${TABULIX_PUBLIC_HEADER_ROOT}/tabulix/${layer}/${header})
    add_custom_command(OUTPUT ${output}
      COMMAND ${CMAKE_COMMAND} -DSOURCE=${source} -DOUTPUT=${output} -P ${TABULIX_PUBLIC_HEADER_SCRIPT}
      DEPENDS ${source} ${TABULIX_PUBLIC_HEADER_SCRIPT}
      COMMENT "Public header tabulix/${layer}/${header}"
      VERBATIM)
    list(APPEND rewritten ${output})
  endforeach()
  if(rewritten)
    add_custom_target(${target}_public_headers ALL DEPENDS ${rewritten})
    install(FILES ${rewritten} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tabulix/${layer}
      COMPONENT development)
  endif()
endfunction()

set(TABULIX_INSTALL_COMPONENTS library development command programs calc documentation)

function(tabulix_check_component function target component)
  if(NOT component IN_LIST TABULIX_INSTALL_COMPONENTS)
    message(FATAL_ERROR "${function}(${target}): COMPONENT must be one of ${TABULIX_INSTALL_COMPONENTS}, not '${component}'")
  endif()
endfunction()

function(tabulix_install_program target)
  cmake_parse_arguments(P "" "COMPONENT" "" ${ARGN})
  tabulix_check_component(tabulix_install_program ${target} "${P_COMPONENT}")
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT ${P_COMPONENT})
endfunction()

# A shared library loaded at run time (dlopen), not linked against: kept out of the package's
# exported targets, in a folder of its own.
function(tabulix_install_plugin target)
  cmake_parse_arguments(P "" "COMPONENT" "" ${ARGN})
  tabulix_check_component(tabulix_install_plugin ${target} "${P_COMPONENT}")
  install(TARGETS ${target} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tabulix COMPONENT ${P_COMPONENT})
endfunction()

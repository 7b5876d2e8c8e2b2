# Install rules shared by the layers. A layer's library goes into the exported package
# (Tabulix::<name>), its public headers under include/tabulix/<layer>/, and the programs and
# plug-ins into bin/ and lib/tabulix/.
#
#   tabulix_install_library(tabulix_data EXPORT_NAME data HEADERS data_set.h field.h ...)
#   tabulix_install_program(tabulix-view)
#   tabulix_install_plugin(PackTabulix)
#
# The sources include each other as "layer/file.h" with the source root on the include path.
# Installed headers are rewritten to include <tabulix/layer/file.h>, so that a user's program
# needs only <prefix>/include on its path and our folder names cannot meet theirs.
include(GNUInstallDirs)

set(TABULIX_PUBLIC_HEADER_ROOT ${PROJECT_BINARY_DIR}/public)
set(TABULIX_PUBLIC_HEADER_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/TabulixPublicHeader.cmake)

# Where the layers' libraries and the package's programs find the shared libraries once
# installed (only shared builds need it).
if(BUILD_SHARED_LIBS)
  set(CMAKE_INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
endif()

function(tabulix_install_library target)
  cmake_parse_arguments(L "" "EXPORT_NAME" "HEADERS" ${ARGN})
  if(NOT L_EXPORT_NAME)
    message(FATAL_ERROR "tabulix_install_library(${target}): EXPORT_NAME is missing")
  endif()
  set_target_properties(${target} PROPERTIES
    EXPORT_NAME ${L_EXPORT_NAME}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  # The headers use C++20; a program that links the library compiles as C++20 too.
  target_compile_features(${target} PUBLIC cxx_std_20)
  add_library(Tabulix::${L_EXPORT_NAME} ALIAS ${target})
  install(TARGETS ${target} EXPORT TabulixTargets
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  # An install with stripping (cmake --install --strip, the Debian package) strips shared
  # libraries and programs; static libraries lose their debugging information too.
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY" AND CMAKE_STRIP)
    install(CODE "
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
          \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:${target}>\")
      endif()")
  endif()

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
    install(FILES ${rewritten} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tabulix/${layer})
  endif()
endfunction()

function(tabulix_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# A shared library loaded at run time (dlopen), not linked against: kept out of the package's
# exported targets, in a folder of its own.
function(tabulix_install_plugin target)
  install(TARGETS ${target} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/tabulix)
endfunction()

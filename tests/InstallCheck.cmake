# Installs the build into a scratch prefix and checks that everything a desktop and a
# shell need arrived: both programs, their manual pages, the menu entry, the MIME type and
# the icon. Run as: cmake -DBUILD=<build dir> -DPREFIX=<scratch> -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
  RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(path bin/ruxa bin/ruxa-convert share/man/man1/ruxa.1 share/man/man1/ruxa-convert.1
    share/applications/ruxa.desktop share/mime/packages/ruxa-mime.xml
    share/icons/hicolor/scalable/apps/ruxa.svg)
  if(NOT EXISTS "${PREFIX}/${path}")
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
# An empty entry in a run-time search path makes the loader look in the current directory.
foreach(program "${BUILD}/ruxa" "${BUILD}/ruxa-convert" "${PREFIX}/bin/ruxa"
    "${PREFIX}/bin/ruxa-convert")
  execute_process(COMMAND readelf -d "${program}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR dynamic MATCHES "runpath: \\[(:|[^]]*::|[^]]*:\\])")
    message(FATAL_ERROR "${program} looks for libraries in the current directory")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")

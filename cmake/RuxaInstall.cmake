# Installs the program and ruxa-convert with what a Linux desktop needs to offer Ruxa for
# ".rx" files: the menu entry, the MIME type and the icon.
include(GNUInstallDirs)

install(TARGETS ruxa ruxa-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/ruxa.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/ruxa-mime.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/data/ruxa.svg
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/data/ruxa.1 ${PROJECT_SOURCE_DIR}/data/ruxa-convert.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

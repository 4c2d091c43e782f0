# Installation and the Debian package.
#
# The program reads its schema set from sql/ beside its own executable, so on
# Unix both go to a private folder, lib/velkor, and bin/velkor is a link to
# the executable there; on Windows both go to bin.
if(WIN32)
  set(VELKOR_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_BINDIR})
else()
  set(VELKOR_INSTALL_PROGRAM_DIR lib/velkor)
endif()

install(TARGETS velkor RUNTIME DESTINATION ${VELKOR_INSTALL_PROGRAM_DIR})
if(VELKOR_HAVE_SCHEMA)
  install(DIRECTORY ${VELKOR_SCHEMA_DIR}/ DESTINATION ${VELKOR_INSTALL_PROGRAM_DIR}/sql
          FILES_MATCHING PATTERN "*.xsd")
endif()

if(NOT WIN32)
  install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/velkor\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"../${VELKOR_INSTALL_PROGRAM_DIR}/velkor\" \"\${link}\" SYMBOLIC)
    message(STATUS \"Linking: \${link}\")")

  configure_file(${CMAKE_SOURCE_DIR}/packaging/velkor.desktop.in ${CMAKE_BINARY_DIR}/velkor.desktop @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/velkor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/velkor.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/velkor-48.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/48x48/apps RENAME velkor.png)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/velkor-256.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME velkor.png)
endif()

set(CPACK_PACKAGE_NAME velkor)
set(CPACK_PACKAGE_VENDOR "Velkor")
set(CPACK_PACKAGE_CONTACT "Velkor <velkor@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}: przeglądarka e-faktur FA(3) KSeF")
set(CPACK_PACKAGE_DESCRIPTION "Velkor shows Polish structured e-invoices (FA(3), KSeF): it validates an invoice against the FA(3) XML Schema and shows its structure, header fields, lines and corrections.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_STRIP_FILES ON)
# The shared libraries are found by dpkg-shlibdeps; Qt's platform plugins,
# its Polish translation and the printout's font (DejaVu Sans, embedded in
# every PDF) are loaded at run time and must be named.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-dejavu-core")
include(CPack)

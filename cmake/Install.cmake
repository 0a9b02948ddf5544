# Where the program lands on a Linux desktop, and the Debian package.
include(GNUInstallDirs)

# The program lives with its info text in a folder of its own; bin/ links to it.
set(program_dir ${CMAKE_INSTALL_LIBDIR}/chancenraster)
install(TARGETS chancenraster RUNTIME DESTINATION ${program_dir})
install(FILES ${CMAKE_SOURCE_DIR}/data/info_kugellauf4.txt DESTINATION ${program_dir})
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(RELATIVE_PATH target \"\${bin}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${program_dir}/chancenraster\")
    file(CREATE_LINK \"\${target}\" \"\${bin}/chancenraster\" SYMBOLIC)
")
if(TARGET chancenraster-analyse)
    install(TARGETS chancenraster-analyse RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/data/chancenraster.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/icons/chancenraster.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
install(FILES ${CMAKE_BINARY_DIR}/icons/chancenraster.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chancenraster)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Chancenraster")
set(CPACK_PACKAGE_CONTACT "Chancenraster <kontakt@chancenraster.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Übungsprogramm für die einfachen Chancen beim Roulette")
set(CPACK_PACKAGE_DESCRIPTION
    "Beobachtet Rot/Schwarz, Manque/Passe und Gerade/Ungerade Step für Step über gezogene oder importierte Würfe und exportiert die Ergebnisse für eine Tabellenkalkulation.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the X11 platform plugin and the window's fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

# SPDX-License-Identifier: GPL-3.0-or-later
# Where the program lands on a Linux desktop, and the Debian package.
include(GNUInstallDirs)

# The program lives with its info text in a folder of its own; bin/ links to it.
set(program_dir ${CMAKE_INSTALL_LIBDIR}/chancenraster)
install(TARGETS chancenraster RUNTIME DESTINATION ${program_dir})
# The info text is data for every architecture: it lives in share/ and the
# program finds it through a link beside itself.
set(data_dir ${CMAKE_INSTALL_DATADIR}/chancenraster)
install(FILES ${CMAKE_SOURCE_DIR}/data/info_kugellauf4.txt DESTINATION ${data_dir})

# Installs a relative symbolic link at LINK (below the prefix) to TARGET (below the prefix).
function(chancenraster_install_link target link)
    install(CODE "
        set(prefix \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
        get_filename_component(dir \"\${prefix}/${link}\" DIRECTORY)
        file(MAKE_DIRECTORY \"\${dir}\")
        file(RELATIVE_PATH relative \"\${dir}\" \"\${prefix}/${target}\")
        file(CREATE_LINK \"\${relative}\" \"\${prefix}/${link}\" SYMBOLIC)
    ")
endfunction()
chancenraster_install_link(${program_dir}/chancenraster ${CMAKE_INSTALL_BINDIR}/chancenraster)
chancenraster_install_link(${data_dir}/info_kugellauf4.txt ${program_dir}/info_kugellauf4.txt)
if(TARGET chancenraster-analyse)
    install(TARGETS chancenraster-analyse RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/data/chancenraster.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/example.chancenraster.Chancenraster.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/icons/chancenraster.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
install(FILES ${CMAKE_BINARY_DIR}/icons/chancenraster.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

include(cmake/Documents.cmake)

# A stripped install (cmake --install --strip, and the package) also drops the
# compiler's notes, as Debian's own packages do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        foreach(binary ${program_dir}/chancenraster ${CMAKE_INSTALL_BINDIR}/chancenraster-analyse)
            execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                --remove-section=.note --strip-unneeded
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${binary}\"
                COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
")
# The one false alarm of lintian: German words it takes for misspelt English.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME chancenraster)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chancenraster)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Chancenraster")
set(CPACK_PACKAGE_CONTACT "Chancenraster <kontakt@chancenraster.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "practise the even-money chances of single-zero roulette")
# The long description; CPack puts the summary above it, indents every line and
# turns the empty line into " .". Lines of at most 80 characters.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Chancenraster is a German-language desktop program for studying"
    "single-zero roulette. A run of spins, drawn by the program or replayed"
    "from a recorded casino permanence, is cut into steps laid over the same"
    "grid rows. For the pairs Rot/Schwarz, Manque/Passe and Gerade/Ungerade"
    "the window counts the fields never hit and those hit only in the first"
    "step, beside their statistical expectation, charts their course and"
    "exports the results for a spreadsheet. Nothing is bet: the program"
    "teaches probability."
    ""
    "The package also holds chancenraster-analyse, which evaluates recorded"
    "permanences or simulated runs by the same rules on the command line.")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.chancenraster.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Beyond the libraries: the X11 platform plugin and the window's fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

# SPDX-License-Identifier: GPL-3.0-or-later
# The package's documents: the copyright file, the changelog and the manual
# pages in English and German, compressed as Debian installs them (gzip -9n:
# no name or time stamp, so every build gives the same bytes).
find_program(GZIP_PROGRAM gzip REQUIRED)
set(doc_out ${CMAKE_BINARY_DIR}/documents)

# Compresses SOURCE into doc_out/NAME.gz; the manual pages get the version first.
function(chancenraster_gzip source name)
    set(input ${source})
    if(name MATCHES "\\.1$")
        set(VERSION ${PROJECT_VERSION})
        set(input ${doc_out}/${name})
        configure_file(${source} ${input} @ONLY)
    endif()
    add_custom_command(OUTPUT ${doc_out}/${name}.gz
        COMMAND ${GZIP_PROGRAM} -9n -c ${input} > ${doc_out}/${name}.gz
        DEPENDS ${input}
        VERBATIM)
    set_property(GLOBAL APPEND PROPERTY chancenraster_documents ${doc_out}/${name}.gz)
endfunction()

chancenraster_gzip(${CMAKE_SOURCE_DIR}/packaging/debian/changelog changelog)
foreach(page chancenraster chancenraster-analyse)
    chancenraster_gzip(${CMAKE_SOURCE_DIR}/man/${page}.1 ${page}.1)
    chancenraster_gzip(${CMAKE_SOURCE_DIR}/man/de/${page}.1 de/${page}.1)
    install(FILES ${doc_out}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    install(FILES ${doc_out}/de/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
endforeach()
get_property(documents GLOBAL PROPERTY chancenraster_documents)
add_custom_target(chancenraster_documents ALL DEPENDS ${documents})

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/chancenraster)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/copyright DESTINATION ${doc_dir})
install(FILES ${doc_out}/changelog.gz DESTINATION ${doc_dir})

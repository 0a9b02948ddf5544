# SPDX-License-Identifier: GPL-3.0-or-later
# The version of the build, as each program prints it and as the package's
# changelog and software-centre entry carry it.
foreach(program IN LISTS PROGRAMS)
    get_filename_component(name "${program}" NAME)
    execute_process(COMMAND ${program} --version
        OUTPUT_VARIABLE output RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT output STREQUAL "${name} ${VERSION}\n")
        message(FATAL_ERROR "${name} --version gave \"${output}\" (status ${status}), "
            "not \"${name} ${VERSION}\"")
    endif()
endforeach()

file(STRINGS "${CHANGELOG}" top LIMIT_COUNT 1)
if(NOT top MATCHES "^chancenraster \\(${VERSION}\\) ")
    message(FATAL_ERROR "The changelog starts with \"${top}\": add an entry for ${VERSION}")
endif()
file(READ "${METAINFO}" metainfo)
if(NOT metainfo MATCHES "<releases>[ \t\n]*<release version=\"${VERSION}\"")
    message(FATAL_ERROR "The newest release in ${METAINFO} is not ${VERSION}")
endif()

# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# The boundary check on a small tree: a tree that keeps the rules passes,
# and each forbidden arrow planted into it alone makes the check fail and
# name that file.
set(tree ${WORKDIR}/boundary_tree)
set(clean
    "src/core/run.h|#include \"core/grid.h\"\n#include <vector>\n"
    "src/io/reader.cpp|#include \"io/reader.h\"\n#include \"core/run.h\"\n"
    "src/analysis/job.cpp|#include \"io/reader.h\"\n#include <thread>\n"
    "src/ui/grid/model.cpp|#include \"ui/common/palette.h\"\n#include <QColor>\n"
    "src/ui/main/window.cpp|#include \"ui/grid/model.h\"\n#include \"analysis/job.h\"\n"
    "src/app/main.cpp|#include \"ui/main/window.h\"\n#include \"chancenraster/version.h\"\n"
    "tools/scenario/runner.cpp|#include \"runner.h\"\n#include \"ui/main/window.h\"\n"
    "tools/scenario/runner.h|#pragma once\n")
set(planted
    "src/core/run.h|#include \"io/reader.h\"\n"
    "src/core/grid.cpp|#include \"analysis/job.h\"\n"
    "src/core/text.cpp|#include <QString>\n"
    "src/io/reader.cpp|#include \"ui/main/window.h\"\n"
    "src/analysis/job.cpp|#include \"ui/grid/model.h\"\n"
    "src/ui/grid/model.cpp|#include \"ui/main/window.h\"\n"
    "src/ui/grid/view.cpp|#include \"../../tools/scenario/runner.h\"\n"
    "src/app/main.cpp|#include \"scenario/runner.h\"\n")

function(write_tree)
    file(REMOVE_RECURSE ${tree})
    foreach(entry IN LISTS clean)
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 path)
        list(GET parts 1 text)
        file(WRITE ${tree}/${path} "// x\n${text}")
    endforeach()
endfunction()

function(check expect_ok what)
    execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${tree} -P ${CHECK}
        RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
    if(expect_ok AND NOT status EQUAL 0)
        message(FATAL_ERROR "the clean tree fails the check:\n${errors}")
    endif()
    if(NOT expect_ok)
        if(status EQUAL 0)
            message(FATAL_ERROR "a planted include passes the check: ${what}")
        endif()
        string(REPLACE "\n" "" flat "${errors}")
        string(REGEX REPLACE " +" " " flat "${flat}")
        if(NOT flat MATCHES "${what}:")
            message(FATAL_ERROR "the check fails without naming ${what}:\n${errors}")
        endif()
    endif()
endfunction()

write_tree()
check(TRUE "")
foreach(entry IN LISTS planted)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 path)
    list(GET parts 1 text)
    write_tree()
    file(APPEND ${tree}/${path} "${text}")
    check(FALSE "${path}")
endforeach()
file(REMOVE_RECURSE ${tree})

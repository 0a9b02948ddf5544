# SPDX-License-Identifier: GPL-3.0-or-later
# Replays a permanence through the analysis tool and compares its counters,
# step by step, with those the window exported in a scenario dump: the
# clipboard of the dump's last state holds the statistic and the six counters
# of steps 1 to 15, one row each.
#   cmake -DTOOL=... -DPERMANENCE=... -DSTEPRATE=... -DDUMP=... -P same_counters.cmake
cmake_minimum_required(VERSION 3.25) # empty list elements count: a step not shown is empty
execute_process(
    COMMAND ${TOOL} --json --steprate ${STEPRATE} ${PERMANENCE}
    OUTPUT_VARIABLE table
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the tool exited with ${status}: ${errors}")
endif()

file(READ ${DUMP} dumps) # one JSON array of the scenario's dumps
string(JSON dumpCount LENGTH "${dumps}")
math(EXPR last "${dumpCount} - 1")
string(JSON clipboard GET "${dumps}" ${last} clipboard)
string(REPLACE "\r\n" ";" rows "${clipboard}")
list(FILTER rows EXCLUDE REGEX "^$")
list(LENGTH rows rowCount)
if(NOT rowCount EQUAL 7)
    message(FATAL_ERROR "expected the statistic and six counter rows in the dump, got ${rowCount}")
endif()

# The window's rows: Statistisch, leer RS/MP/GU, 1xrot RS/MP/GU.
set(keys statistisch leer leer leer einmal einmal einmal)
set(pairs -1 0 1 2 0 1 2)
string(JSON steps GET "${table}" steps)
string(JSON stepCount LENGTH "${steps}")
if(stepCount EQUAL 0)
    message(FATAL_ERROR "the tool gave no step")
endif()
set(compared 0)
foreach(row RANGE 6)
    list(GET rows ${row} line)
    string(REPLACE "\t" ";" cells "${line}")
    list(GET cells 0 title)
    list(GET keys ${row} key)
    list(GET pairs ${row} pair)
    foreach(step RANGE 1 15)
        list(GET cells ${step} shown)
        string(REPLACE "," "." shown "${shown}") # the decimal comma of a German window
        if(step GREATER stepCount)
            if(NOT shown STREQUAL "")
                message(FATAL_ERROR "the window shows step ${step}, the tool only ${stepCount}")
            endif()
            continue()
        endif()
        math(EXPR index "${step} - 1")
        if(pair EQUAL -1)
            string(JSON value GET "${steps}" ${index} ${key})
        else()
            string(JSON value GET "${steps}" ${index} ${key} ${pair})
        endif()
        if(NOT value STREQUAL shown)
            message(FATAL_ERROR
                "step ${step}, '${title}': the tool gives ${value}, the window showed '${shown}'")
        endif()
        math(EXPR compared "${compared} + 1")
    endforeach()
endforeach()
message(STATUS "${compared} values of ${stepCount} steps agree with ${DUMP}")

# SPDX-License-Identifier: GPL-3.0-or-later
# The figures "Systemtest" gave over the main window's run in a scenario dump
# against those of the batch tool over the same numbers written to a file:
# every figure of the result line but the file's name must agree.
#   cmake -DTOOL=... -DDUMP=... -DWORKDIR=... -DOPTIONS="--system;rot;..." -P same_system_as_tool.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${DUMP} dumps) # one JSON array of the scenario's dumps
string(JSON dumpCount LENGTH "${dumps}")
math(EXPR last "${dumpCount} - 1")
string(JSON shown GET "${dumps}" ${last} systemtest)
string(JSON taken GET "${dumps}" ${last} state akut)
# Cell 0 of the drawn numbers is never read; spins 1 .. akut were played.
set(numbers "")
foreach(k RANGE 1 ${taken})
    string(JSON n GET "${dumps}" ${last} state zahlen ${k})
    string(APPEND numbers "${n}\n")
endforeach()
set(file ${WORKDIR}/systemtest_numbers.txt)
file(WRITE ${file} "${numbers}")
execute_process(
    COMMAND ${TOOL} --json ${OPTIONS} ${file}
    OUTPUT_VARIABLE line
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the tool exited with ${status}: ${errors}")
endif()
set(compared 0)
foreach(key sessions bets turnover result expected sd z won_share ruined_share max_drawdown
        max_stake)
    string(JSON fromTool GET "${line}" ${key})
    string(JSON fromWindow GET "${shown}" ${key})
    if(NOT fromTool STREQUAL fromWindow)
        message(FATAL_ERROR "${key}: the tool gives ${fromTool}, the window gave ${fromWindow}")
    endif()
    math(EXPR compared "${compared} + 1")
endforeach()
if(taken LESS 2 OR NOT compared EQUAL 11)
    message(FATAL_ERROR "compared ${compared} figures over ${taken} spins")
endif()

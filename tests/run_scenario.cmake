# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one scenario script through the scenario runner and compares what it
# prints (one line of JSON per dump) with the reviewed dump next to the script
# (the same dumps as one pretty-printed JSON array, scripts/format-dump.py).
# The comparison is of the parsed JSON; a difference is reported as the paths
# of the values that differ.
#   cmake -DRUNNER=... -DSCRIPT=... -DEXPECTED=... -DACTUAL=... -DWORKDIR=... -P run_scenario.cmake
cmake_minimum_required(VERSION 3.25)
# Live journals go to a fresh folder of this test's own, so that no scenario
# meets another's unfinished session (or the user's).
set(journals ${ACTUAL}.journals)
file(REMOVE_RECURSE ${journals})
file(MAKE_DIRECTORY ${journals})
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${journals} ${RUNNER} ${SCRIPT}
    WORKING_DIRECTORY ${WORKDIR}
    OUTPUT_FILE ${ACTUAL}
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "scenario runner exited with ${status}: ${errors}")
endif()
file(READ ${EXPECTED} expected)
file(READ ${ACTUAL} actual)
# Paths and mounts differ between machines: the scenarios folder reads as
# @SCENARIOS@ and the chooser's drive as @DRIVE@.
string(REPLACE "${WORKDIR}" "@SCENARIOS@" actual "${actual}")
string(REPLACE "${journals}" "@JOURNALS@" actual "${actual}")
string(REGEX REPLACE "\"drive\":\"[^\"]*\"" "\"drive\":\"@DRIVE@\"" actual "${actual}")
file(WRITE ${ACTUAL} "${actual}")

# One dump per line; a line break inside a JSON string is always escaped.
string(STRIP "${actual}" actual)
string(REPLACE "\n" "," actual "${actual}")
set(actual "[${actual}]")
string(JSON same ERROR_VARIABLE parseError EQUAL "${expected}" "${actual}")
if(parseError)
    message(FATAL_ERROR "${EXPECTED} or the runner's output is no JSON: ${parseError}")
endif()
if(same)
    return()
endif()

set(reported 0)
set(limit 40)
set(report "")

# Appends a line for every value that differs between the JSON objects or
# arrays A and B below PATH, at most LIMIT lines in all.
function(compare_json a b path)
    string(JSON same EQUAL "${a}" "${b}")
    if(same OR reported GREATER_EQUAL limit)
        return()
    endif()
    string(JSON type TYPE "${a}")
    string(JSON countA LENGTH "${a}")
    string(JSON countB LENGTH "${b}")
    if(type STREQUAL "ARRAY")
        if(NOT countA EQUAL countB)
            note_difference("${path}: number of elements" "${countA}" "${countB}")
        endif()
        set(count ${countA})
        if(countB LESS count)
            set(count ${countB})
        endif()
        if(count GREATER 0)
            math(EXPR last "${count} - 1")
            foreach(index RANGE ${last})
                compare_child("${a}" "${b}" ${index} "${path}[${index}]")
            endforeach()
        endif()
    else()
        foreach(side a b)
            if(side STREQUAL "a")
                set(count ${countA})
                set(this "${a}")
                set(other "${b}")
            else()
                set(count ${countB})
                set(this "${b}")
                set(other "${a}")
            endif()
            if(count GREATER 0)
                math(EXPR last "${count} - 1")
                foreach(index RANGE ${last})
                    string(JSON key MEMBER "${this}" ${index})
                    string(JSON ignored ERROR_VARIABLE missing TYPE "${other}" "${key}")
                    if(missing AND side STREQUAL "a")
                        note_difference("${path}.${key}" "present" "missing")
                    elseif(missing)
                        note_difference("${path}.${key}" "missing" "present")
                    elseif(side STREQUAL "a")
                        compare_child("${a}" "${b}" "${key}" "${path}.${key}")
                    endif()
                endforeach()
            endif()
        endforeach()
    endif()
    set(reported ${reported} PARENT_SCOPE)
    set(report "${report}" PARENT_SCOPE)
endfunction()

# Compares the members KEY (a name or an index) of the containers A and B.
function(compare_child a b key path)
    string(JSON typeA TYPE "${a}" "${key}")
    string(JSON typeB TYPE "${b}" "${key}")
    string(JSON valueA GET "${a}" "${key}")
    string(JSON valueB GET "${b}" "${key}")
    if(typeA STREQUAL typeB AND (typeA STREQUAL "OBJECT" OR typeA STREQUAL "ARRAY"))
        compare_json("${valueA}" "${valueB}" "${path}")
    elseif(NOT typeA STREQUAL typeB OR NOT valueA STREQUAL valueB)
        shown(valueA ${typeA})
        shown(valueB ${typeB})
        note_difference("${path}" "${valueA}" "${valueB}")
    endif()
    set(reported ${reported} PARENT_SCOPE)
    set(report "${report}" PARENT_SCOPE)
endfunction()

# VARIABLE holds a value of the JSON type TYPE as string(JSON GET) gives it:
# make it read as JSON does.
macro(shown variable type)
    if(${type} STREQUAL "STRING")
        set(${variable} "\"${${variable}}\"")
    elseif(${type} STREQUAL "NULL")
        set(${variable} "null")
    elseif(${type} STREQUAL "BOOLEAN" AND ${variable})
        set(${variable} "true")
    elseif(${type} STREQUAL "BOOLEAN")
        set(${variable} "false")
    endif()
endmacro()

function(note_difference path expectedValue actualValue)
    if(reported LESS limit)
        string(APPEND report "  ${path}\n    expected: ${expectedValue}\n    actual:   ${actualValue}\n")
    endif()
    math(EXPR reported "${reported} + 1")
    set(reported ${reported} PARENT_SCOPE)
    set(report "${report}" PARENT_SCOPE)
endfunction()

compare_json("${expected}" "${actual}" "dumps")
if(reported GREATER_EQUAL limit)
    string(APPEND report "  (only the first ${limit} differences are shown)\n")
endif()
message(FATAL_ERROR "the dumps differ from ${EXPECTED} (dumps[N] is the N-th dump, from 0; "
    "the runner's output is in ${ACTUAL}):\n${report}"
    "scripts/update-scenarios.sh rewrites the file; scripts/show-dump.py shows it readably.")

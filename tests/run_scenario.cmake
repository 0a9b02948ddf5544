# Runs one scenario script through the scenario runner and compares what it
# prints with the reviewed dump next to the script.
#   cmake -DRUNNER=... -DSCRIPT=... -DEXPECTED=... -DACTUAL=... -P run_scenario.cmake
execute_process(
    COMMAND ${RUNNER} ${SCRIPT}
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
string(REGEX REPLACE "\"drive\":\"[^\"]*\"" "\"drive\":\"@DRIVE@\"" actual "${actual}")
file(WRITE ${ACTUAL} "${actual}")
if(NOT expected STREQUAL actual)
    execute_process(COMMAND diff ${EXPECTED} ${ACTUAL} OUTPUT_VARIABLE difference)
    string(SUBSTRING "${difference}" 0 4000 difference)
    message(FATAL_ERROR "dump differs from ${EXPECTED}:\n${difference}")
endif()

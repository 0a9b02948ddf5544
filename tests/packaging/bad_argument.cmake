# SPDX-License-Identifier: GPL-3.0-or-later
# An argument the program cannot use: a German message on stderr, exit status 2,
# and no window (the test runs without a display connection to open one).
execute_process(COMMAND ${PROGRAM} --seed 7 --seed=8
    OUTPUT_VARIABLE output ERROR_VARIABLE error RESULT_VARIABLE status)
if(NOT status EQUAL 2 OR NOT output STREQUAL "" OR
   NOT error MATCHES "^chancenraster: --seed ist doppelt angegeben\n")
    message(FATAL_ERROR "status ${status}, stdout \"${output}\", stderr \"${error}\"")
endif()

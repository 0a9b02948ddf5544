# SPDX-License-Identifier: GPL-3.0-or-later
# The scenario runner given something that is no script: exit status 2 and a
# reason, never a silent 0.
#   cmake -DRUNNER=... -DSCRIPT=... -P runner_refuses.cmake
execute_process(COMMAND ${RUNNER} ${SCRIPT} RESULT_VARIABLE status ERROR_VARIABLE errors
    OUTPUT_QUIET)
if(NOT status EQUAL 2 OR NOT errors MATCHES "line 0: ")
    message(FATAL_ERROR "runner exited with ${status} for ${SCRIPT}: ${errors}")
endif()

# SPDX-License-Identifier: GPL-3.0-or-later
# The analysis tool under a memory limit too small for a file's spins (20
# million spins take a byte each, more while their store grows; the tool
# itself runs in far less than the 30 MB): a clear refusal with status 1,
# never an abort.
#   cmake -DTOOL=... -DWORKDIR=... -P out_of_memory.cmake
set(list ${WORKDIR}/zwanzig_millionen.txt)
execute_process(
    COMMAND sh -c "yes 0 | head -n 20000000 > '${list}'; ulimit -v 30000; exec '${TOOL}' --steprate 37 '${list}'"
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
file(REMOVE ${list})
if(NOT status EQUAL 1 OR NOT errors MATCHES "not memory enough to hold its spins")
    message(FATAL_ERROR "status ${status}: ${errors}")
endif()

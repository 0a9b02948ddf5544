# SPDX-License-Identifier: GPL-3.0-or-later
cmake_minimum_required(VERSION 3.25)
# scripts/add-spdx.sh on a small tree: it finds the source files without the
# licence line, adds the line in each language's comment (below a "#!" line),
# keeps data, documents and build trees as they are, and a second run changes
# nothing.
set(tree ${WORKDIR}/spdx_tree)
file(REMOVE_RECURSE ${tree})
set(licence "SPDX-License-Identifier: GPL-3.0-or-later")
set(sources
    "src/x.cpp|int main() {}\n"
    "cmake/v.h.in|#pragma once\n"
    "CMakeLists.txt|project(x)\n"
    "tools/run|#!/bin/sh\necho hi\n"
    "has.h|// ${licence}\n#pragma once\n")
set(others
    "data/notes.txt|Notizen\n"
    "docs/y.cpp|int y() {}\n"
    "build-x/z.cpp|int z() {}\n"
    "fuzz/corpus/a/seed|12\n"
    "tools/plain|no script\n")
# An entry "PATH|TEXT" split in two.
macro(split_entry entry)
    string(REPLACE "|" ";" parts "${entry}")
    list(GET parts 0 path)
    list(GET parts 1 text)
endmacro()

foreach(entry IN LISTS sources others)
    split_entry("${entry}")
    file(WRITE ${tree}/${path} "${text}")
endforeach()
file(CHMOD ${tree}/tools/run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(run_script expected_status out)
    execute_process(COMMAND sh ${SCRIPT} ${ARGN} ${tree}
        OUTPUT_VARIABLE output RESULT_VARIABLE status)
    if(NOT status EQUAL expected_status)
        message(FATAL_ERROR "add-spdx.sh ${ARGN}: status ${status}\n${output}")
    endif()
    set(${out} "${output}" PARENT_SCOPE)
endfunction()

run_script(1 listed --check)
string(CONCAT expected_list "no licence line: CMakeLists.txt\nno licence line: cmake/v.h.in\n"
    "no licence line: src/x.cpp\nno licence line: tools/run\n")
if(NOT listed STREQUAL expected_list)
    message(FATAL_ERROR "--check named:\n${listed}")
endif()

run_script(0 added)
set(expected
    "src/x.cpp|// ${licence}\nint main() {}\n"
    "cmake/v.h.in|// ${licence}\n#pragma once\n"
    "CMakeLists.txt|# ${licence}\nproject(x)\n"
    "tools/run|#!/bin/sh\n# ${licence}\necho hi\n")
foreach(entry IN LISTS expected others)
    split_entry("${entry}")
    file(READ ${tree}/${path} content)
    if(NOT content STREQUAL text)
        message(FATAL_ERROR "${path} holds\n${content}\nnot\n${text}")
    endif()
endforeach()
file(READ ${tree}/has.h has)
if(NOT has STREQUAL "// ${licence}\n#pragma once\n")
    message(FATAL_ERROR "has.h was changed:\n${has}")
endif()
execute_process(COMMAND test -x ${tree}/tools/run RESULT_VARIABLE executable)
if(NOT executable EQUAL 0)
    message(FATAL_ERROR "tools/run lost its execute permission")
endif()

run_script(0 again)
if(NOT again STREQUAL "")
    message(FATAL_ERROR "a second run changed files:\n${again}")
endif()
run_script(0 checked --check)

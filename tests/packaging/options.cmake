# SPDX-License-Identifier: GPL-3.0-or-later
# The options named in a text: a "-" or "--" and a name, after a blank, a
# comma, a bracket or a bar (so "Step-Rate" and "2^64-1" are none).
function(options_in text out)
    # Brackets would upset CMake's lists: they become blanks first.
    string(REGEX REPLACE "[][(|,]" " " text "${text}")
    string(REGEX MATCHALL "[ \t\n]--?[a-zA-Z][-a-zA-Z0-9]*" found "\n${text}")
    set(options "")
    foreach(match IN LISTS found)
        string(SUBSTRING "${match}" 1 -1 option)
        string(REGEX REPLACE "-+$" "" option "${option}")
        list(APPEND options "${option}")
    endforeach()
    list(REMOVE_DUPLICATES options)
    set(${out} "${options}" PARENT_SCOPE)
endfunction()

# The text of a manual page source as the reader sees it, as far as dashes go.
function(page_text page out)
    file(READ "${page}" source)
    string(REPLACE "\\-" "-" source "${source}")
    set(${out} "${source}" PARENT_SCOPE)
endfunction()

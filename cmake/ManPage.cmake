# Writes a section-1 manual page from a program's own --help and --version, so the page
# never drifts from the options, and beside it the page compressed as Debian installs it.
# Run as: cmake -DPROGRAM=... -DNAME=... -DSUMMARY=... -DDATE=... -DOUT=...
# [-DEXTRA=file with further roff sections] -P ManPage.cmake
foreach(var PROGRAM NAME SUMMARY DATE OUT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "ManPage.cmake needs ${var}")
    endif()
endforeach()

execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE help_status)
execute_process(COMMAND ${PROGRAM} --version OUTPUT_VARIABLE version RESULT_VARIABLE version_status)
if(NOT help_status EQUAL 0 OR NOT version_status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help or --version failed")
endif()
string(STRIP "${version}" version)

# The usage line names the program, not the path it was run from.
string(REPLACE "${PROGRAM}" "${NAME}" help "${help}")

# The help is shown as it is printed (no filling), so its lines are wrapped here at 78
# columns, each continuation under its own line's indent. Semicolons and brackets would
# change how the lines split into a list; they are set aside meanwhile.
set(columns 78)
# The width a line prints at, its set-aside characters counted as one each.
function(printed_width text out)
    string(REGEX REPLACE "@(SEMICOLON|OPEN|CLOSE)@" "x" plain "${text}")
    string(LENGTH "${plain}" length)
    set(${out} ${length} PARENT_SCOPE)
endfunction()
string(REPLACE ";" "@SEMICOLON@" help "${help}")
string(REPLACE "[" "@OPEN@" help "${help}")
string(REPLACE "]" "@CLOSE@" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(help "")
foreach(line IN LISTS lines)
    printed_width("${line}" length)
    if(length LESS_EQUAL columns)
        string(APPEND help "${line}\n")
        continue()
    endif()
    set(indent "")
    if(line MATCHES "^( +)")
        set(indent "${CMAKE_MATCH_1}")
    endif()
    string(REGEX MATCHALL "[^ ]+" words "${line}")
    set(current "${indent}")
    foreach(word IN LISTS words)
        printed_width("${current} ${word}" length)
        if(current STREQUAL indent)
            string(APPEND current "${word}")
        elseif(length GREATER columns)
            string(APPEND help "${current}\n")
            set(current "${indent}${word}")
        else()
            string(APPEND current " ${word}")
        endif()
    endforeach()
    string(APPEND help "${current}\n")
endforeach()
string(REPLACE "@SEMICOLON@" ";" help "${help}")
string(REPLACE "@OPEN@" "[" help "${help}")
string(REPLACE "@CLOSE@" "]" help "${help}")
string(REGEX REPLACE "\n$" "" help "${help}")

# roff: backslashes and minus signs are escaped; a line starting with a dot or an
# apostrophe would be a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")

set(page ".TH ${NAME} 1 \"${DATE}\" \"${version}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\n${NAME} \\- ${SUMMARY}\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${help}\n.fi\n")
if(DEFINED EXTRA AND EXISTS "${EXTRA}")
    file(READ "${EXTRA}" extra)
    string(APPEND page "${extra}")
endif()
file(WRITE "${OUT}" "${page}")
# -n: no name or time in the header, so the same page compresses to the same bytes.
execute_process(COMMAND gzip -9nc "${OUT}" OUTPUT_FILE "${OUT}.gz" RESULT_VARIABLE gzip_status)
if(NOT gzip_status EQUAL 0)
    message(FATAL_ERROR "gzip of ${OUT} failed")
endif()

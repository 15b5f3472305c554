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

# The help is read by its layout and written as filled roff, so that man fits it to any
# width: "Usage:" lines (and the lines under them naming the program) make the synopsis,
# a line "Heading:" starts a section, a line indented by two starts an entry ("term  text",
# or a term with its text on the lines indented further), and any other line is running
# text, a blank line ending its paragraph. Semicolons and brackets would change how the
# lines split into a list; they are set aside meanwhile.
string(REPLACE ";" "@SEMICOLON@" help "${help}")
string(REPLACE "[" "@OPEN@" help "${help}")
string(REPLACE "]" "@CLOSE@" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

# roff: backslashes and minus signs are escaped; a line starting with a dot or an
# apostrophe would be a request.
function(roff text out)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    if(text MATCHES "^[.']")
        set(text "\\&${text}")
    endif()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(synopsis "")
set(body "")
set(in_usage FALSE)   # the lines just read belong to the synopsis
set(in_entries FALSE) # the lines just read belong to a section's entries
set(new_paragraph FALSE)
foreach(line IN LISTS lines)
    set(usage "")
    if(line MATCHES "^Usage: *(.*)$")
        set(usage "${CMAKE_MATCH_1}")
    elseif(in_usage AND line MATCHES "^ +(${NAME}( .*)?)$")
        set(usage "${CMAKE_MATCH_1}")
    endif()
    if(NOT usage STREQUAL "")
        string(REGEX MATCH "^([^ ]+) *(.*)$" usage "${usage}")
        roff("${CMAKE_MATCH_1}" name)
        roff("${CMAKE_MATCH_2}" rest)
        if(NOT synopsis STREQUAL "")
            string(APPEND synopsis ".br\n")
        endif()
        string(APPEND synopsis ".B ${name}\n${rest}\n")
        set(in_usage TRUE)
        continue()
    endif()
    set(in_usage FALSE)
    if(line STREQUAL "")
        set(new_paragraph TRUE)
    elseif(line MATCHES "^([A-Za-z][A-Za-z ]*):$")
        string(TOUPPER "${CMAKE_MATCH_1}" heading)
        string(APPEND body ".SH ${heading}\n")
        set(in_entries TRUE)
        set(new_paragraph FALSE)
    elseif(in_entries AND NOT new_paragraph AND line MATCHES "^  ([^ ].*)$")
        # "term  text" splits at its first gap of two blanks or more.
        set(entry "${CMAKE_MATCH_1}")
        set(text "")
        if(entry MATCHES "^([^ ]+( [^ ]+)*)   *(.*)$")
            set(entry "${CMAKE_MATCH_1}")
            set(text "${CMAKE_MATCH_3}")
        endif()
        roff("${entry}" entry)
        roff("${text}" text)
        string(APPEND body ".TP\n.B ${entry}\n")
        if(NOT text STREQUAL "")
            string(APPEND body "${text}\n")
        endif()
    elseif(in_entries AND NOT new_paragraph AND line MATCHES "^ +(.*)$")
        roff("${CMAKE_MATCH_1}" text)
        string(APPEND body "${text}\n")
    else()
        string(STRIP "${line}" text)
        roff("${text}" text)
        if(body STREQUAL "")
            string(APPEND body ".SH DESCRIPTION\n")
        elseif(new_paragraph)
            string(APPEND body ".PP\n")
        endif()
        string(APPEND body "${text}\n")
        set(in_entries FALSE)
        set(new_paragraph FALSE)
    endif()
endforeach()

set(page ".TH ${NAME} 1 \"${DATE}\" \"${version}\" \"User Commands\"\n")
# Left-aligned and unhyphenated: options, commands and paths stay whole on their lines.
string(APPEND page ".ad l\n.nh\n")
string(APPEND page ".SH NAME\n${NAME} \\- ${SUMMARY}\n")
string(APPEND page ".SH SYNOPSIS\n${synopsis}${body}")
string(REPLACE "@SEMICOLON@" ";" page "${page}")
string(REPLACE "@OPEN@" "[" page "${page}")
string(REPLACE "@CLOSE@" "]" page "${page}")
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

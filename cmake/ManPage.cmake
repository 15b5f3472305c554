# Writes a section-1 manual page from a program's own --help and --version, so the page
# never drifts from the options. Run as: cmake -DPROGRAM=... -DNAME=... -DSUMMARY=...
# -DOUT=... [-DEXTRA=file with further roff sections] -P ManPage.cmake
foreach(var PROGRAM NAME SUMMARY OUT)
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
# roff: backslashes and minus signs are escaped; a line starting with a dot or an
# apostrophe would be a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")

set(page ".TH ${NAME} 1 \"\" \"${version}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\n${NAME} \\- ${SUMMARY}\n")
string(APPEND page ".SH DESCRIPTION\n.nf\n${help}.fi\n")
if(DEFINED EXTRA AND EXISTS "${EXTRA}")
    file(READ "${EXTRA}" extra)
    string(APPEND page "${extra}")
endif()
file(WRITE "${OUT}" "${page}")

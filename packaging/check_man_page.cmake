# cmake -DMAN=<man> -DPAGE=<page> -P check_man_page.cmake
# Renders the page as lintian does and fails on anything man or groff says
# about it (a warning leaves man's exit status at 0).
set(ENV{LC_ALL} C.UTF-8)
set(ENV{MANROFFSEQ} "")
set(ENV{MANWIDTH} 80)
execute_process(COMMAND ${MAN} --warnings -E UTF-8 -l -Tutf8 -Z ${PAGE}
                OUTPUT_QUIET ERROR_VARIABLE said RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT said STREQUAL "")
    message(FATAL_ERROR "man ${PAGE} (${status}):\n${said}")
endif()

# cmake -DOUTPUT=<file> [-DGZIP=ON] -P write_output.cmake -- <command>...
# Runs the command and writes what it prints on standard output to OUTPUT;
# with GZIP also OUTPUT.gz, compressed as Debian asks (gzip -9n: no name or
# time stamp inside, so the same text always gives the same bytes). A command
# that fails leaves neither file, so the build fails again until it works.

set(command "")
set(after_dashes FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
    if(after_dashes)
        list(APPEND command "${CMAKE_ARGV${i}}")
    elseif(CMAKE_ARGV${i} STREQUAL "--")
        set(after_dashes TRUE)
    endif()
endforeach()
if(NOT OUTPUT OR command STREQUAL "")
    message(FATAL_ERROR "usage: cmake -DOUTPUT=<file> [-DGZIP=ON] -P write_output.cmake -- <command>...")
endif()

file(REMOVE "${OUTPUT}" "${OUTPUT}.gz")
execute_process(COMMAND ${command} OUTPUT_FILE "${OUTPUT}.part" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE "${OUTPUT}.part")
    message(FATAL_ERROR "${command}: ${status}")
endif()
file(RENAME "${OUTPUT}.part" "${OUTPUT}")

if(GZIP)
    execute_process(COMMAND gzip -9n --stdout "${OUTPUT}" OUTPUT_FILE "${OUTPUT}.gz.part" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        file(REMOVE "${OUTPUT}.gz.part")
        message(FATAL_ERROR "gzip -9n ${OUTPUT}: ${status}")
    endif()
    file(RENAME "${OUTPUT}.gz.part" "${OUTPUT}.gz")
endif()

# Ondrel.exe imports at start only what its first window needs: comctl32, comdlg32, ole32 and
# shell32 load at their first call (cmake/delay_load.cmake). A call to a function missing from
# their lists would quietly bring that DLL back into start-up; this catches it.
# cmake -DOBJDUMP=<objdump> -DPROGRAM=<Ondrel.exe> -P start_imports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE failed)
string(TOLOWER "${dump}" dump)
if(failed OR NOT dump MATCHES "dll name: user32\\.dll")
    message(FATAL_ERROR "objdump did not list the imports of ${PROGRAM}")
endif()
foreach(dll comctl32 comdlg32 ole32 shell32)
    if(dump MATCHES "dll name: ${dll}\\.dll")
        message(FATAL_ERROR "${PROGRAM} loads ${dll}.dll at start: a function it calls is "
                            "missing from cmake/delay_load/${dll}.def")
    endif()
endforeach()

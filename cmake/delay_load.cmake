# System DLLs that the first window does not need, each loaded at the first call into it: a
# delay-load import library per DLL, made from the list of the functions the program calls
# (cmake/delay_load/<dll>.def). Loaded at start-up, they would hold the window back.
# A function missing from its list is found in the ordinary import library instead (CMake links
# shell32, ole32 and comdlg32 into every program; comctl32 would fail the link): the program
# still works but loads that DLL at start again. Check with objdump -p Ondrel.exe, which then
# lists the DLL among the imports.
# Defines ONDREL_DELAY_LOADED_LIBRARIES, to link in place of the DLLs' ordinary libraries.
set(ONDREL_DELAY_LOADED_LIBRARIES)
foreach(dll comctl32 comdlg32 ole32 shell32)
    set(definition ${CMAKE_CURRENT_LIST_DIR}/delay_load/${dll}.def)
    set(library ${CMAKE_BINARY_DIR}/delay_load/lib${dll}_delayed.a)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${definition})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delay_load)
    execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${definition} --dllname ${dll}.dll
                            --output-delaylib ${library}
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot make the delay-load library of ${dll}.dll")
    endif()
    add_library(ondrel_delayed_${dll} STATIC IMPORTED GLOBAL)
    set_target_properties(ondrel_delayed_${dll} PROPERTIES IMPORTED_LOCATION ${library})
    list(APPEND ONDREL_DELAY_LOADED_LIBRARIES ondrel_delayed_${dll})
endforeach()

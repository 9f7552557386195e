# Tests of ondrel-compress: its argument and progress rules, then the program itself against
# the real tools (natively Debian's ffmpeg, under Wine the Windows builds).
set(ONDREL_CLI_TEST_DIR ${CMAKE_CURRENT_LIST_DIR}/cli)

# The argument and progress rules join the engine's unit tests: one program, one Wine start.
target_sources(compress_unit_test PRIVATE
    ${ONDREL_CLI_TEST_DIR}/cli_arguments_test.cpp
    ${ONDREL_CLI_TEST_DIR}/json_lines_test.cpp
    ${ONDREL_CLI_TEST_DIR}/progress_display_test.cpp
    ${ONDREL_CLI_TEST_DIR}/summary_table_test.cpp
    ${ONDREL_CLI_TEST_DIR}/target_texts_test.cpp
)
target_link_libraries(compress_unit_test PRIVATE ondrel_compress_cli)
if(WIN32)
    target_sources(compress_unit_test PRIVATE ${ONDREL_CLI_TEST_DIR}/console_event_test_win32.cpp)
endif()

if(WIN32)
    # One Wine launch: a real encode with the Windows ffmpeg.exe and ffprobe.exe beside a copy
    # of the program, non-ASCII names and a name collision.
    add_test(NAME compress_cli_wine_encode
             COMMAND bash ${ONDREL_CLI_TEST_DIR}/wine_end_to_end.sh
                     $<TARGET_FILE:ondrel-compress> ${PROJECT_SOURCE_DIR}
                     ${CMAKE_BINARY_DIR}/tests/cli_wine)
    set_tests_properties(compress_cli_wine_encode PROPERTIES TIMEOUT 240)
else()
    foreach(case usage dry_run encode failure ndjson estimate interrupt target_size)
        add_test(NAME compress_cli_${case}
                 COMMAND bash ${ONDREL_CLI_TEST_DIR}/native_end_to_end.sh ${case}
                         $<TARGET_FILE:ondrel-compress>)
    endforeach()
endif()

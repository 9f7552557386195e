# The compression engine against processes: our own fake ffmpeg/ffprobe that misbehave on
# request, and the real tools on clips made at test time.

# The fakes: one source, two programs, beside the test programs.
foreach(role ffmpeg ffprobe)
    add_executable(fake_${role} ${CMAKE_CURRENT_LIST_DIR}/fakes/fake_tool.cpp)
    target_link_libraries(fake_${role} PRIVATE ondrel_core)
    set_target_properties(fake_${role} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(WIN32)
        target_link_options(fake_${role} PRIVATE -municode)
    endif()
endforeach()
target_compile_definitions(fake_ffprobe PRIVATE ONDREL_FAKE_FFPROBE)

set(ONDREL_COMPRESS_TEST_DIR ${CMAKE_CURRENT_LIST_DIR}/integration)

# Processes, pipes, probing, detection and the job against the fakes: one program, so Wine
# starts one process for them.
ondrel_test(compress_process_test
    ${ONDREL_COMPRESS_TEST_DIR}/test_programs.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/process_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/process_lines_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/run_capture_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/job_fault_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/job_cancel_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/detect_fake_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/probe_fake_test.cpp
)
target_link_libraries(compress_process_test PRIVATE ondrel_compress)
add_dependencies(compress_process_test fake_ffmpeg fake_ffprobe)

# The real tools. Natively Debian's ffmpeg and ffprobe; under Wine the Windows builds that
# tools/fetch-windows-ffmpeg keeps in build/cache (Linux programs get no pipes from Wine).
# The clips are made once, natively, by a fixture, so Wine starts no extra processes for them.
if(WIN32)
    set(ONDREL_CACHE_TOOLS ${PROJECT_SOURCE_DIR}/build/cache/windows-ffmpeg)
    file(RELATIVE_PATH ONDREL_TOOLS_FROM_TESTS ${CMAKE_BINARY_DIR}/tests ${ONDREL_CACHE_TOOLS})
else()
    set(ONDREL_TOOLS_FROM_TESTS "")
endif()
add_executable(compress_real_tools_test
    ${ONDREL_COMPRESS_TEST_DIR}/test_programs.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/real_probe_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/real_encode_test.cpp
    ${ONDREL_COMPRESS_TEST_DIR}/real_long_path_test.cpp
)
target_link_libraries(compress_real_tools_test PRIVATE ondrel_compress ondrel_test_support
                      GTest::gtest_main GTest::gmock)
set_target_properties(compress_real_tools_test PROPERTIES
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
target_compile_definitions(compress_real_tools_test PRIVATE
    ONDREL_TOOLS_FROM_TESTS="${ONDREL_TOOLS_FROM_TESTS}")

find_program(ONDREL_NATIVE_FFMPEG ffmpeg PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
add_test(NAME compress_make_clips
         COMMAND ${ONDREL_COMPRESS_TEST_DIR}/make_clips ${ONDREL_NATIVE_FFMPEG}
                 ${CMAKE_BINARY_DIR}/tests/clips)
set_tests_properties(compress_make_clips PROPERTIES FIXTURES_SETUP compress_clips)
if(WIN32)
    add_test(NAME compress_real_tools_test COMMAND compress_real_tools_test)
    set_tests_properties(compress_real_tools_test PROPERTIES FIXTURES_REQUIRED compress_clips)
else()
    gtest_discover_tests(compress_real_tools_test DISCOVERY_TIMEOUT 60
                         TEST_PREFIX "compress_real_tools_test."
                         PROPERTIES FIXTURES_REQUIRED compress_clips)
endif()

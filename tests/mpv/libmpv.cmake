# The player on Debian's libmpv.so.2, loaded through the program's own loader, with no video
# or audio output, on clips made by ffmpeg at test time.
add_library(ondrel_playback_clips STATIC ${CMAKE_CURRENT_LIST_DIR}/../fixtures/playback_clips.cpp)
target_link_libraries(ondrel_playback_clips PUBLIC ondrel_test_support)
target_compile_definitions(ondrel_playback_clips PRIVATE
    ONDREL_PLAYBACK_CLIPS="${CMAKE_BINARY_DIR}/tests/playback_clips")

ondrel_test(mpv_libmpv_test libmpv_player_test.cpp libmpv_tracks_test.cpp libmpv_wakeup_test.cpp)
target_link_libraries(mpv_libmpv_test PRIVATE ondrel_mpv_test_support ondrel_playback_clips)

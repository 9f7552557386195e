# ondrel-compress: the compression engine on the command line, in both builds. Its sources
# are a library of their own (the tests link it too) plus one entry point per platform.
set(ONDREL_CLI_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB ONDREL_CLI_SOURCES CONFIGURE_DEPENDS ${ONDREL_CLI_DIR}/*.cpp)
list(FILTER ONDREL_CLI_SOURCES EXCLUDE REGEX "/main_[a-z0-9]+\\.cpp$")
if(WIN32)
    list(FILTER ONDREL_CLI_SOURCES EXCLUDE REGEX "_posix\\.cpp$")
else()
    list(FILTER ONDREL_CLI_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
endif()
add_library(ondrel_compress_cli STATIC ${ONDREL_CLI_SOURCES})
target_link_libraries(ondrel_compress_cli PUBLIC ondrel_compress)

# Beside Ondrel.exe in the build root, where the tool lookup finds ffmpeg and ffprobe too.
add_executable(ondrel-compress ${ONDREL_CLI_DIR}/main_${ONDREL_PLATFORM}.cpp)
target_link_libraries(ondrel-compress PRIVATE ondrel_compress_cli)
set_target_properties(ondrel-compress PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
if(WIN32)
    # A console program whose entry point receives the wide command line.
    target_link_options(ondrel-compress PRIVATE -municode)
    target_sources(ondrel-compress PRIVATE ${PROJECT_SOURCE_DIR}/resources/ondrel-compress.rc)
    set_source_files_properties(${PROJECT_SOURCE_DIR}/resources/ondrel-compress.rc PROPERTIES
        OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/resources/ondrel-compress.manifest)
    target_include_directories(ondrel-compress PRIVATE ${PROJECT_SOURCE_DIR}/resources
                               ${ONDREL_THIRD_PARTY_INCLUDE})
endif()

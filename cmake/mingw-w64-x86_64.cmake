# Cross build of the Windows program with MinGW-w64 (posix thread model, so std::thread works).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ONDREL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ONDREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ONDREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ONDREL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ONDREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No MinGW runtime DLL next to the program: libstdc++, libgcc and winpthread are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# GCC 12 reports std::string concatenation as overlapping memcpy at -O3 (GCC bug 105329).
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# CTest runs the Windows test programs under Wine, headless when there is no display.
get_filename_component(ONDREL_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ONDREL_SOURCE_ROOT}/tools/wine-run)

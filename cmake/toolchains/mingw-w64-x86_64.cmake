# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (posix thread model, so
# that std::thread and std::mutex work). Used by the "windows" preset; the test programs
# run under Wine through scripts/wine-run (see scripts/test-windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(STRATOCUE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${STRATOCUE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STRATOCUE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${STRATOCUE_MINGW_TRIPLE}-windres)

# Libraries, headers and packages from the mingw-w64 tree only, never the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${STRATOCUE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each .exe stands alone: no libstdc++, libgcc or winpthread DLL has to travel with it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest (and gtest's test discovery) start every cross-built program through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run)

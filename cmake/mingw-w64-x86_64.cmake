# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix: the
# posix thread model gives std::thread and std::mutex). tools/windows.sh uses it:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SCOREWELL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SCOREWELL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SCOREWELL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SCOREWELL_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SCOREWELL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One .exe that runs on any Windows machine: the C++ and thread runtimes linked in, not DLLs
# beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# The tests run the programs they build through Wine.
find_program(SCOREWELL_WINE NAMES wine)
if (SCOREWELL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SCOREWELL_WINE})
endif()

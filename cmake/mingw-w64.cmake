# Cross-compiling the companion for 64-bit Windows with Debian's mingw-w64 (./dev.sh windows).
# The posix thread model of the compiler gives std::thread, std::mutex and the like.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(RH_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${RH_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${RH_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${RH_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${RH_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# One .exe that carries its C++ runtime and threads library: nothing to install beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threading model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DN_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${DN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# One self-contained executable: no runtime DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under Wine (see scripts/wine-test).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-test)
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

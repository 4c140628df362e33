# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers, run
# through Wine:
#   cmake -S . -B build/windows -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake -DQBZ_GTEST_FROM_SOURCE=ON
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QBZ_MINGW_TRIPLE x86_64-w64-mingw32)
# The posix-threads variants: the win32-threads ones lack std::mutex and std::thread.
set(CMAKE_C_COMPILER ${QBZ_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QBZ_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QBZ_MINGW_TRIPLE}-windres)

# The C++ runtime, libgcc and winpthreads linked in, so the executables need
# nothing but the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# zlib from Debian's libz-mingw-w64-dev, its static archive.
set(CMAKE_FIND_ROOT_PATH /usr/${QBZ_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)
# CLI11 is headers only: the host's package serves any target.
set(CLI11_DIR /usr/share/cmake/CLI11 CACHE PATH "CLI11's CMake package")

# ctest and gtest_discover_tests run the .exe files through Wine, in a
# prefix of the build's own (made on first use, about 5 s), quietly.
find_program(QBZ_WINE NAMES wine wine64 REQUIRED)
# Without Mono and Gecko, which a new prefix would offer to install.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml= ${QBZ_WINE})
# GoogleTest compiled from Debian's source with the same runtime as the tests.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)

# Cross build for 32-bit ARM without a divide instruction: Debian's
# arm-linux-gnueabi compilers (ARMv5TE, soft float), run through qemu-arm.
#   cmake -S . -B build/arm -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/arm-linux-gnueabi.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabi)

set(QBZ_ARM_TRIPLE arm-linux-gnueabi)
set(CMAKE_C_COMPILER ${QBZ_ARM_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${QBZ_ARM_TRIPLE}-g++)
# ARMv5TE in ARM state: no integer divide, no floating-point unit.
set(CMAKE_C_FLAGS_INIT "-march=armv5te -marm -mfloat-abi=soft")
set(CMAKE_CXX_FLAGS_INIT "-march=armv5te -marm -mfloat-abi=soft")

# The cross C library lives in /usr/arm-linux-gnueabi; zlib, libpng and CLI11
# are unpacked from Debian's armel packages into their own root by
# scripts/install-deps.sh arm (multiarch layout: usr/lib/arm-linux-gnueabi).
if(DEFINED ENV{QBZ_ARMEL_ROOT})
  set(QBZ_ARMEL_ROOT "$ENV{QBZ_ARMEL_ROOT}")
else()
  set(QBZ_ARMEL_ROOT /opt/qbz-armel)
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${QBZ_ARM_TRIPLE} ${QBZ_ARMEL_ROOT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Link zlib and libpng statically: at run time qemu only sees the cross C
# library's directory.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)

# ctest and gtest_discover_tests run the ARM binaries through qemu.
find_program(QBZ_QEMU_ARM qemu-arm REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QBZ_QEMU_ARM} -L /usr/${QBZ_ARM_TRIPLE})

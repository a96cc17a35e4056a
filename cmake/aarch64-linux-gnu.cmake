# 64-bit ARM (arm64) with Debian's cross compiler (g++-aarch64-linux-gnu); the tests and the
# companion run through qemu-user (`make test-arm64`):
#   cmake -S . -B build-arm64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

# Libraries and CMake packages for arm64 only; programs are the build machine's. Headers also
# come from the build machine's /usr/include (CLI11 is header-only), which the cross compiler
# searches after its own.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)

# ctest, GoogleTest's test discovery and the companion's tests run the arm64 programs here.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu CACHE STRING
    "The program that runs the arm64 programs")

# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for arm64 with Debian's g++-aarch64-linux-gnu against the
# multiarch :arm64 development packages (scripts/setup.sh installs them), and
# lets CTest run the test programs under qemu-user-static:
#
#   cmake -S . -B build-arm64 --toolchain cmake/aarch64-linux-gnu.cmake \
#         -DDECREE_BUILD_GUI=OFF -DDECREE_BUILD_FUZZ_REPLAY=OFF
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# Libraries and CMake packages come from /usr/lib/aarch64-linux-gnu; headers
# that are the same on every processor (Boost, nlohmann-json, CLI11) from /usr/include.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
# CTest, and the listing of a GoogleTest program's tests, run the programs through it.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/qemu-aarch64-static -L /usr/aarch64-linux-gnu)

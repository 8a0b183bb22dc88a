# Cross-compiling for 64-bit ARM (Debian's arm64) with crossbuild-essential-arm64,
# against the :arm64 libraries that multiarch installs beside the host's. The
# programs and tests run through qemu, so ctest and test discovery work as at home.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
# Libraries and their CMake files come from the arm64 multiarch folders.
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)

# The loader and C library that qemu needs live under the cross toolchain's root.
find_program(QEMU_AARCH64 qemu-aarch64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${QEMU_AARCH64} -L /usr/aarch64-linux-gnu)

# The package is for the target, not for the machine that builds it.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)

# pkg-config answers for arm64 under this name (pkgconf's arm64 personality), so the
# libraries found through it (libpqxx) are the target's, not the host's.
set(PKG_CONFIG_EXECUTABLE aarch64-linux-gnu-pkg-config)

# What apt cannot install beside the host's (libpqxx's development files) arm64.sh
# unpacks into a folder of its own: pkg-config looks there first, the build tree's
# programs find libpqxx there through their RPATH, and cpack's dpkg-shlibdeps finds it
# there with its package's symbols file.
if(ARM64_PRIVATE_ROOT)
    set(ENV{PKG_CONFIG_PATH} ${ARM64_PRIVATE_ROOT}/usr/lib/aarch64-linux-gnu/pkgconfig)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${ARM64_PRIVATE_ROOT}/usr/lib/aarch64-linux-gnu)
endif()

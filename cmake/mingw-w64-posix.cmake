# Cross-compiling the toolkit-free floors for 64-bit Windows with Debian's MinGW-w64 (the posix
# thread variant: the win32 one has no std::thread) and running the test programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own libraries (libstdc++, libgcc, winpthread) linked in, so that a program
# runs under Wine without a search path for the compiler's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian ships GoogleTest as sources only for other targets; the tests build it from them.
set(TAVREL_GTEST_SOURCES /usr/src/googletest CACHE PATH "GoogleTest sources built for the target")

# CTest starts each test program, and lists its cases, through Wine. Debian's wine64 package
# has no launcher in PATH, only the loader itself.
find_program(TAVREL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TAVREL_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVREL_WINE})
endif()

# zlib for the tests' PNG reader, linked in like the compiler's own libraries.
set(ZLIB_USE_STATIC_LIBS ON)

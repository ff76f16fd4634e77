# Cross-compiles the x64 Windows test programs with the posix-thread MinGW-w64 compilers (GoogleTest and the
# test hosts use std::mutex and std::thread, which the win32-thread compilers lack). The deliverables the
# tests run are not built with these compilers: the build takes them from a nested build with the
# deliverables' toolchain, named here.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(MQ_DELIVERABLES_TOOLCHAIN ${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-x86_64.cmake)

# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix thread model):
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# Builds the core libraries, tq_export.exe and the core's test programs, and
# the window with its Qt Test programs when given a Qt for Windows
# (scripts/qt-windows builds one):
#   ... -DTQ_QT_WINDOWS=$(scripts/qt-windows --chemin) -DQT_HOST_PATH=/usr
# The stand-in server is a Linux tool and is never built here.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

# Programs (code generators, the test runner) come from the host; libraries and
# headers only from the MinGW root.
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Qt for Windows is a second root: Qt's package files look for each other
# under the find roots, so a prefix path alone would not do.
if(TQ_QT_WINDOWS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${TQ_QT_WINDOWS})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TQ_QT_WINDOWS)

# The compiler's runtime linked in, so that an .exe needs no MinGW DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The programs run on this machine through Wine (ctest, test discovery), in a
# Wine prefix of the build's own, silent, and in French as the operators'
# desktops are.
find_program(TQ_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TQ_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all LANG=fr_FR.UTF-8
                                    ${TQ_WINE})
endif()

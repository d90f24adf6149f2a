# Cross toolchain for 64-bit Windows with Debian's MinGW-w64 compilers (posix threads, which
# std::thread and Qt need). VARNEL_WINDOWS_PREFIX is the folder of the cross-built libraries
# (Qt, SQLite, libzip, pugixml, libxlsxwriter); it is searched before the MinGW sysroot.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNEL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARNEL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNEL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNEL_MINGW}-windres)
set(CMAKE_AR ${VARNEL_MINGW}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VARNEL_MINGW}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT VARNEL_WINDOWS_PREFIX AND DEFINED ENV{VARNEL_WINDOWS_PREFIX})
  set(VARNEL_WINDOWS_PREFIX $ENV{VARNEL_WINDOWS_PREFIX})
endif()
# Try-compile projects get their own copy of this file: hand the prefix on to them.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VARNEL_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH ${VARNEL_WINDOWS_PREFIX} /usr/${VARNEL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config answers for the cross libraries only, never for the host's.
if(VARNEL_WINDOWS_PREFIX)
  set(ENV{PKG_CONFIG_LIBDIR} "${VARNEL_WINDOWS_PREFIX}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

# What the Windows cross build needs besides the toolchain file: a C++
# runtime that the modules carry inside, boost from the system's headers and
# GoogleTest built from its sources with the cross compiler.
include_guard(GLOBAL)

# Every module and program carries libstdc++, libgcc and winpthread inside:
# they import only the host's libraries and Windows system DLLs.
add_link_options(-static)
# zlib (the PNG writer of the host objects) is linked in as well.
set(ZLIB_USE_STATIC_LIBS ON)
# Exports are what the sources mark __declspec(dllexport), never every symbol.
# The C runtime's printf family is MinGW's C99 one (%zu, %lld), not the
# system's.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 __USE_MINGW_ANSI_STDIO=1)

# boost: the header-only parts, from the build machine's headers. Only the
# boost folder is put on the include path, never the rest of /usr/include.
find_path(VELLUM_BOOST_HEADERS boost/version.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
          NO_DEFAULT_PATH REQUIRED)
set(VELLUM_BOOST_ROOT ${CMAKE_BINARY_DIR}/boost-headers)
file(MAKE_DIRECTORY ${VELLUM_BOOST_ROOT})
file(CREATE_LINK ${VELLUM_BOOST_HEADERS}/boost ${VELLUM_BOOST_ROOT}/boost SYMBOLIC)
add_library(Boost::headers INTERFACE IMPORTED)
set_target_properties(Boost::headers PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${VELLUM_BOOST_ROOT}
  INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${VELLUM_BOOST_ROOT})
# boost.thread's Win32 mutexes are header-only; nothing is linked.
add_library(Boost::thread INTERFACE IMPORTED)
set_target_properties(Boost::thread PROPERTIES INTERFACE_LINK_LIBRARIES Boost::headers)

# GoogleTest from the sources that Debian's googletest package ships.
if(VELLUM_BUILD_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # It names its targets GTest::gtest and GTest::gtest_main itself.
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# Host libraries are named as the host names them: strpool.dll, not libstrpool.dll.
set(CMAKE_SHARED_LIBRARY_PREFIX "")
set(CMAKE_SHARED_MODULE_PREFIX "")

# A DLL is a runtime file to CMake, so it would land in bin/ beside the
# programs. The host's tree keeps its libraries in lib/ (or wherever the
# target's library folder is): move every DLL made below `folder` there.
function(vellum_place_dlls folder)
  get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "SHARED_LIBRARY")
      get_target_property(place ${target} LIBRARY_OUTPUT_DIRECTORY)
      if(NOT place)
        set(place ${VELLUM_LIB_DIR})
      endif()
      set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${place})
    endif()
  endforeach()
  get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
  foreach(subfolder IN LISTS subfolders)
    vellum_place_dlls(${subfolder})
  endforeach()
endfunction()

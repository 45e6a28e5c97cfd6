# Build helpers shared by every folder.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Sources are UTF-8; narrow literals become the GBK bytes the program works in.
set(QUENSTREL_COMPILE_OPTIONS
  -Wall -Wextra -Wpedantic -Werror -Wshadow -Wconversion -Wno-sign-conversion
  -finput-charset=UTF-8 -fexec-charset=GBK)

function(quenstrel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${QUENSTREL_COMPILE_OPTIONS})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# Turns a data file into a byte array that both builds link:
# <symbol>() returns a std::string_view over its bytes.
function(quenstrel_embed target symbol file)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${symbol}_data.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/embed.py ${file} ${symbol} ${out}
    DEPENDS ${file} ${PROJECT_SOURCE_DIR}/tools/embed.py
    COMMENT "Embedding ${file}")
  target_sources(${target} PRIVATE ${out})
endfunction()

function(quenstrel_find_gtest)
  if(CMAKE_CROSSCOMPILING)
    # Debian ships GoogleTest as sources: build them with the cross compiler.
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest_main ALIAS gtest_main)
      add_library(GTest::gmock ALIAS gmock)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
endfunction()

# One test executable, run natively, and under Wine in the Windows build
# (through CMAKE_CROSSCOMPILING_EMULATOR).
function(quenstrel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${QUENSTREL_COMPILE_OPTIONS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main GTest::gmock)
  if(CMAKE_CROSSCOMPILING)
    target_link_options(${name} PRIVATE -static)
  endif()
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# One interface target carries the language level, warnings and sanitizers,
# so a flag changes in one place for every target of the project.
add_library(hangarpak_options INTERFACE)
target_compile_features(hangarpak_options INTERFACE cxx_std_20)
target_compile_options(hangarpak_options INTERFACE -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Werror)
# GCC 12 at -O3 warns about overlapping copies inside std::string's own
# code (GCC bug 105329), which no change of ours can silence.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(hangarpak_options INTERFACE -Wno-restrict)
endif()
# The optimised build with debug information, the one of the demo, the
# tests and the install steps, keeps line tables and function names (what
# a profiler, a crash's back trace and the sanitizers' reports need) but
# not the descriptions of local variables and types, which took a third of
# each compile: a first build of the two programs is that much quicker.
# HANGARPAK_FULL_DEBUG_INFO brings them back for a debugger.
option(HANGARPAK_FULL_DEBUG_INFO "Keep full debug information in RelWithDebInfo builds" OFF)
if(NOT HANGARPAK_FULL_DEBUG_INFO)
  target_compile_options(hangarpak_options INTERFACE $<$<CONFIG:RelWithDebInfo>:-g1>)
endif()
if(HANGARPAK_SANITIZE)
  target_compile_options(hangarpak_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(hangarpak_options INTERFACE -fsanitize=address,undefined)
endif()
option(HANGARPAK_THREAD_SANITIZE "Build with the thread sanitizer" OFF)
if(HANGARPAK_THREAD_SANITIZE)
  target_compile_options(hangarpak_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(hangarpak_options INTERFACE -fsanitize=thread)
endif()
# The fuzz build instruments every library for coverage and checks memory.
if(HANGARPAK_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  target_compile_options(hangarpak_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(hangarpak_options INTERFACE -fsanitize=address,undefined)
endif()

# Each layer is one library of the sources in its folder; adding a file needs
# no edit here.
function(hangarpak_layer name folder)
  file(GLOB_RECURSE _sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(_sources)
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC hangarpak_options ${ARGN})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} INTERFACE hangarpak_options ${ARGN})
  endif()
endfunction()

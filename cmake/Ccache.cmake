# Compiles through ccache when it is installed, with the settings this
# build needs whatever the machine's ccache configuration says:
# - precompiled headers are cached only with the sloppiness below (ccache
#   cannot see the macros or time stamps a precompiled header was made with);
# - paths are hashed relative to the source tree and without the working
#   folder, so a second clone or worktree of the project, such as the fresh
#   clone a CI run builds in, reuses the objects of the first. Debug
#   information of a reused object names the folder it was first built in.
find_program(CCACHE_PROGRAM ccache)
find_program(ENV_PROGRAM env)
if(CCACHE_PROGRAM AND ENV_PROGRAM)
  set(_settings CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1)
  if(HANGARPAK_PCH)
    list(APPEND _settings CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime)
  endif()
  set(CMAKE_CXX_COMPILER_LAUNCHER ${ENV_PROGRAM} ${_settings} ${CCACHE_PROGRAM})
endif()

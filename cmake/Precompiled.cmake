# Precompiled headers: the standard library, GoogleTest and Qt headers that
# the program's libraries, the test programs and the Qt views include are
# parsed once per build folder instead of once per source. Only headers from
# outside the project go in, so that an edit of the project's own headers
# rebuilds no precompiled header, and every source keeps its own #include
# lines: a build with -DHANGARPAK_PCH=OFF (the thread sanitizer and fuzz
# builds) shows an include a source lacks.
#
# One precompiled header serves many targets (REUSE_FROM) when their
# compile flags match; -Winvalid-pch, which CMake adds, and -Werror turn a
# mismatch into an error rather than a silent slow build.
option(HANGARPAK_PCH "Precompile the standard, GoogleTest and Qt headers" ON)

set(HANGARPAK_PCH_STD
  <algorithm> <cstdint> <filesystem> <functional> <map> <memory> <optional> <set> <string> <string_view> <vector>)
set(HANGARPAK_PCH_QT
  <QApplication> <QCheckBox> <QDialog> <QHBoxLayout> <QHeaderView> <QLabel> <QLineEdit> <QPushButton> <QSplitter>
  <QTimer> <QVBoxLayout> <QWidget>)

# GCC 12's false alarms on std::string's inlined copies (GCC bug 105329)
# show up in more places once the standard headers come precompiled: its
# -Warray-bounds, -Wstringop-overflow and -Wstringop-overread are off for the
# sources compiled with a precompiled header, and stay on in the builds
# without precompiled headers (the thread-sanitizer build compiles every
# library of the program without them).
function(_hangarpak_pch_warnings target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
  endif()
endfunction()

# Gives target its own precompiled header of the headers listed.
function(hangarpak_precompile target)
  if(HANGARPAK_PCH)
    target_precompile_headers(${target} PRIVATE ${ARGN})
    _hangarpak_pch_warnings(${target})
  endif()
endfunction()

# Compiles target with the precompiled header of from.
function(hangarpak_precompiled_from target from)
  if(HANGARPAK_PCH)
    target_precompile_headers(${target} REUSE_FROM ${from})
    _hangarpak_pch_warnings(${target})
  endif()
endfunction()

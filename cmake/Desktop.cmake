# The files that make Hangarpak a desktop program: help page, icons, desktop
# entry, AppStream metadata, manual pages and bash completion.
#
# They are laid out under build/share exactly as under <prefix>/share after
# `cmake --install`, and the programs sit in build/src as in <prefix>/bin, so
# the window program finds its help page and icons through one rule from
# either place: <folder of the executable>/../share.
include(GNUInstallDirs)

set(HANGARPAK_APP_ID org.hangarpak.Hangarpak)
set(_share ${PROJECT_BINARY_DIR}/share)
set(_icon_svg ${PROJECT_SOURCE_DIR}/resources/icons/${HANGARPAK_APP_ID}.svg)

if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
  message(WARNING "hangarpak looks for its help page and icons in <folder of the program>/../share; "
                  "CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and CMAKE_INSTALL_DATADIR=${CMAKE_INSTALL_DATADIR} "
                  "break that")
endif()

# The PNG icons come from the SVG when rsvg-convert is there, else from the
# copies kept beside it.
find_program(RSVG_CONVERT rsvg-convert)
set(_data_outputs)
foreach(_px 48 256)
  set(_png ${_share}/icons/hicolor/${_px}x${_px}/apps/${HANGARPAK_APP_ID}.png)
  if(RSVG_CONVERT)
    add_custom_command(OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_share}/icons/hicolor/${_px}x${_px}/apps
      COMMAND ${RSVG_CONVERT} -w ${_px} -h ${_px} -o ${_png} ${_icon_svg}
      DEPENDS ${_icon_svg}
      COMMENT "Drawing the ${_px} pixel icon")
  else()
    set(_kept ${PROJECT_SOURCE_DIR}/resources/icons/${HANGARPAK_APP_ID}-${_px}.png)
    add_custom_command(OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E copy ${_kept} ${_png}
      DEPENDS ${_kept})
  endif()
  list(APPEND _data_outputs ${_png})
  install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_px}x${_px}/apps)
endforeach()

set(_svg_out ${_share}/icons/hicolor/scalable/apps/${HANGARPAK_APP_ID}.svg)
add_custom_command(OUTPUT ${_svg_out}
  COMMAND ${CMAKE_COMMAND} -E copy ${_icon_svg} ${_svg_out}
  DEPENDS ${_icon_svg})
list(APPEND _data_outputs ${_svg_out})
install(FILES ${_svg_out} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The help page and what it links to.
file(GLOB_RECURSE _help_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/help/*)
foreach(_file ${_help_sources})
  file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR}/resources/help ${_file})
  add_custom_command(OUTPUT ${_share}/hangarpak/help/${_rel}
    COMMAND ${CMAKE_COMMAND} -E copy ${_file} ${_share}/hangarpak/help/${_rel}
    DEPENDS ${_file})
  list(APPEND _data_outputs ${_share}/hangarpak/help/${_rel})
endforeach()
if(_help_sources)
  install(DIRECTORY ${_share}/hangarpak/help DESTINATION ${CMAKE_INSTALL_DATADIR}/hangarpak)
endif()

add_custom_target(hangarpak_data ALL DEPENDS ${_data_outputs})

# The version and release date of the metadata and manual pages come from
# the project's version and HANGARPAK_RELEASE_DATE.
configure_file(${PROJECT_SOURCE_DIR}/packaging/${HANGARPAK_APP_ID}.metainfo.xml.in
  ${_share}/metainfo/${HANGARPAK_APP_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${HANGARPAK_APP_ID}.desktop
  ${_share}/applications/${HANGARPAK_APP_ID}.desktop COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/bash-completion/hangarpak-cli
  ${_share}/bash-completion/completions/hangarpak-cli COPYONLY)
foreach(_page hangarpak hangarpak-cli)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/man/${_page}.1.in ${_share}/man/man1/${_page}.1 @ONLY)
endforeach()

install(TARGETS hangarpak-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET hangarpak)
  install(TARGETS hangarpak RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${_share}/applications/${HANGARPAK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_share}/metainfo/${HANGARPAK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_share}/man/man1/hangarpak.1 ${_share}/man/man1/hangarpak-cli.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_share}/bash-completion/completions/hangarpak-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

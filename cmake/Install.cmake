# make install: the program, its game data, the desktop entry, the AppStream
# metainfo and the icon at every size, under CMAKE_INSTALL_PREFIX (and
# DESTDIR). The program finds the data in PREFIX/share/gloamer beside its own
# PREFIX/bin and writes the player's files to his own folder.
set(DESKTOP_ID org.gloamer.Gloamer)
set(ICON_DIR ${CMAKE_BINARY_DIR}/icons)
set(ICON_SIZES 16 32 48 64 128 256)
set(ICON_FILES "")
foreach(size ${ICON_SIZES})
  list(APPEND ICON_FILES ${ICON_DIR}/${size}x${size}.png)
endforeach()
add_custom_command(OUTPUT ${ICON_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ICON_DIR}
  COMMAND artgen --icon ${ICON_DIR}
  DEPENDS artgen
  COMMENT "Drawing the program's icon"
  VERBATIM)
add_custom_target(icons ALL DEPENDS ${ICON_FILES})

install(TARGETS gloamer RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The game directory without the program and without what a player wrote there.
install(DIRECTORY ${GAME_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/gloamer
  PATTERN gloamer EXCLUDE
  PATTERN control.ini EXCLUDE
  PATTERN "slot*" EXCLUDE
  PATTERN "*.tmp" EXCLUDE)
install(FILES content/desktop/${DESKTOP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES content/desktop/${DESKTOP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size ${ICON_SIZES})
  install(FILES ${ICON_DIR}/${size}x${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${DESKTOP_ID}.png)
endforeach()

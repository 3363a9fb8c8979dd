# Tile containers. artgen draws every picture of the game into the build
# folder, letting hand-made PNGs under content/tiles/ replace generated ones
# of the same file name, and writes one manifest per container; tilepack
# then packs each manifest into its container in the game directory. The
# rooms' pictures (rooms.cmake) join the art in tiles.dat.
include(${CMAKE_CURRENT_LIST_DIR}/rooms.cmake)
set(ART_DIR ${CMAKE_BINARY_DIR}/art)
file(GLOB ART_OVERRIDES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/tiles/*.png)
add_custom_command(OUTPUT ${ART_DIR}/tiles.manifest ${ART_DIR}/tiles_control.manifest
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ART_DIR}
  COMMAND artgen ${ART_DIR} ${CMAKE_SOURCE_DIR}/content/tiles
  DEPENDS artgen ${ART_OVERRIDES}
  COMMENT "Drawing the game's pictures"
  VERBATIM)

set(tiles_EXTRA ${ROOM_MANIFESTS})
set(tiles_control_EXTRA "")
foreach(container tiles tiles_control)
  add_custom_command(OUTPUT ${GAME_DIR}/${container}.dat
    COMMAND tilepack ${ART_DIR}/${container}.manifest ${${container}_EXTRA} ${GAME_DIR}/${container}.dat
    DEPENDS tilepack ${ART_DIR}/${container}.manifest ${${container}_EXTRA}
    COMMENT "Packing ${container}.dat"
    VERBATIM)
endforeach()
set(GAME_DATA_FILES ${GAME_DATA_FILES} ${GAME_DIR}/tiles.dat ${GAME_DIR}/tiles_control.dat)

# The contact sheet of the built container, to review the art: make contact_sheet.
add_custom_target(contact_sheet
  COMMAND artgen --sheet ${ART_DIR}/contact_sheet.png ${GAME_DIR}/tiles.dat ${GAME_DIR}/tiles_control.dat
  DEPENDS ${GAME_DIR}/tiles.dat ${GAME_DIR}/tiles_control.dat
  COMMENT "Rendering the contact sheet of the tile containers"
  VERBATIM)

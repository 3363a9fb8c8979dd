# Tile containers. tilepack turns a manifest and the PNG pictures in its
# folder into one container of the game directory. Further arguments are
# extra dependencies, for pictures made by another build step.
function(gloamer_tile_container manifest output)
  get_filename_component(folder ${manifest} DIRECTORY)
  file(GLOB_RECURSE pictures CONFIGURE_DEPENDS ${folder}/*.png)
  add_custom_command(OUTPUT ${output}
    COMMAND tilepack ${manifest} ${output}
    DEPENDS tilepack ${manifest} ${pictures} ${ARGN}
    COMMENT "Packing the tiles of ${manifest}"
    VERBATIM)
endfunction()

gloamer_tile_container(${CMAKE_SOURCE_DIR}/content/tiles/manifest.txt ${GAME_DIR}/tiles.dat)
gloamer_tile_container(${CMAKE_SOURCE_DIR}/content/tiles_control/manifest.txt ${GAME_DIR}/tiles_control.dat)
set(GAME_DATA_FILES ${GAME_DATA_FILES} ${GAME_DIR}/tiles.dat ${GAME_DIR}/tiles_control.dat)

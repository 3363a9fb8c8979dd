# The player's character sheet. artgen draws the poses of
# content/character/player.poses into character.dat in the game directory
# and renders a review picture of every sequence at 4x beside the art
# (build/art/character_sheet.png).
set(CHARACTER_POSES ${CMAKE_SOURCE_DIR}/content/character/player.poses)
set(CHARACTER_PREVIEW ${CMAKE_BINARY_DIR}/art/character_sheet.png)
add_custom_command(OUTPUT ${GAME_DIR}/character.dat ${CHARACTER_PREVIEW}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/art
  COMMAND artgen --character ${CHARACTER_POSES} ${GAME_DIR}/character.dat ${CHARACTER_PREVIEW}
  DEPENDS artgen ${CHARACTER_POSES}
  COMMENT "Drawing the character sheet"
  VERBATIM)
set(GAME_DATA_FILES ${GAME_DATA_FILES} ${GAME_DIR}/character.dat ${CHARACTER_PREVIEW})

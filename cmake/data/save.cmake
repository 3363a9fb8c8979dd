# The state a new game starts from: savetool packs content/save/begin.txt
# into Save/begin.sav.
file(MAKE_DIRECTORY ${GAME_DIR}/Save)
add_custom_command(
  OUTPUT ${GAME_DIR}/Save/begin.sav
  COMMAND savetool pack ${CMAKE_SOURCE_DIR}/content/save/begin.txt ${GAME_DIR}/Save/begin.sav
  DEPENDS savetool ${CMAKE_SOURCE_DIR}/content/save/begin.txt
  COMMENT "Packing the new game's start state"
  VERBATIM)
list(APPEND GAME_DATA_FILES ${GAME_DIR}/Save/begin.sav)

# The two fonts: hand-drawn glyph sources under content/fonts/, packed into
# the game's font format by the fontpack tool.
foreach(font typo typo_small)
  add_custom_command(
    OUTPUT ${GAME_DIR}/${font}.dat
    COMMAND fontpack ${CMAKE_SOURCE_DIR}/content/fonts/${font}.txt ${GAME_DIR}/${font}.dat
    DEPENDS fontpack ${CMAKE_SOURCE_DIR}/content/fonts/${font}.txt
    COMMENT "Packing font ${font}.dat"
    VERBATIM)
  set(GAME_DATA_FILES ${GAME_DATA_FILES} ${GAME_DIR}/${font}.dat)
endforeach()

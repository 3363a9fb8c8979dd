# Builds the data files of the game directory from the sources under content/.
# Each kind of data has its own rules file in cmake/data/; a rules file appends
# the files it makes to GAME_DATA_FILES, and the game_data target makes them
# all whenever the game is built.
set(GAME_DATA_FILES "")
file(GLOB DATA_RULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/data/*.cmake)
foreach(rules ${DATA_RULES})
  include(${rules})
endforeach()

add_custom_target(game_data ALL DEPENDS ${GAME_DATA_FILES})
add_dependencies(gloamer game_data)

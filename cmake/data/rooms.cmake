# Rooms. roomc compiles every content/rooms/NAME.room into the level file
# Level/NAME.lvl of the game directory and the room's picture under
# build/art/rooms/, with a manifest line that the tile rules pack into
# tiles.dat beside the art (tiles.cmake includes this file for ROOM_MANIFESTS);
# levelcheck then checks them all.
include_guard(GLOBAL)
set(ROOM_ART_DIR ${CMAKE_BINARY_DIR}/art)
set(ROOM_PICTURES ${ROOM_ART_DIR}/rooms)
file(MAKE_DIRECTORY ${GAME_DIR}/Level ${ROOM_PICTURES})
file(GLOB ROOM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/rooms/*.room)
set(ROOM_MANIFESTS "")
set(ROOM_LEVELS "")
foreach(source ${ROOM_SOURCES})
  get_filename_component(room ${source} NAME_WE)
  add_custom_command(
    OUTPUT ${GAME_DIR}/Level/${room}.lvl ${ROOM_PICTURES}/room_${room}.manifest
           ${ROOM_PICTURES}/room_${room}.png ${ROOM_PICTURES}/room_${room}.depth.png
           ${ROOM_PICTURES}/room_${room}.glow.png
    COMMAND roomc ${ROOM_ART_DIR}/tiles.manifest ${source} ${GAME_DIR}/Level/${room}.lvl ${ROOM_PICTURES}
    DEPENDS roomc ${source} ${ROOM_ART_DIR}/tiles.manifest
    COMMENT "Compiling room ${room}"
    VERBATIM)
  list(APPEND ROOM_MANIFESTS ${ROOM_PICTURES}/room_${room}.manifest)
  list(APPEND ROOM_LEVELS ${GAME_DIR}/Level/${room}.lvl)
endforeach()

# levelcheck reads every compiled room as the game does, with the packed
# tiles, and follows each door to its room and target; an error fails the build.
if(ROOM_LEVELS)
  add_custom_command(OUTPUT ${ROOM_PICTURES}/levelcheck.stamp
    COMMAND levelcheck --tiles ${GAME_DIR}/tiles.dat ${GAME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${ROOM_PICTURES}/levelcheck.stamp
    DEPENDS levelcheck ${ROOM_LEVELS} ${GAME_DIR}/tiles.dat
    COMMENT "Checking the rooms"
    VERBATIM)
  set(GAME_DATA_FILES ${GAME_DATA_FILES} ${ROOM_LEVELS} ${ROOM_PICTURES}/levelcheck.stamp)
endif()

# worldcheck proves the world against the program's map table: every room,
# every passage's door pair, reachability from the start, keys before their
# locked doors, both endings. A problem fails the build.
if(ROOM_LEVELS AND GLOAMER_WORLDCHECK)
  add_custom_command(OUTPUT ${ROOM_PICTURES}/worldcheck.stamp
    COMMAND worldcheck ${GAME_DIR}
    COMMAND ${CMAKE_COMMAND} -E touch ${ROOM_PICTURES}/worldcheck.stamp
    DEPENDS worldcheck ${ROOM_LEVELS} ${ROOM_PICTURES}/levelcheck.stamp
    COMMENT "Checking the world"
    VERBATIM)
  set(GAME_DATA_FILES ${GAME_DATA_FILES} ${ROOM_PICTURES}/worldcheck.stamp)
endif()

# One contact page of every room, to look at them side by side; built only
# when asked for (make room_contacts).
add_custom_target(room_contacts
  COMMAND roomsheet ${GAME_DIR} ${CMAKE_BINARY_DIR}/rooms_contact.png
  COMMENT "Drawing every room on one page"
  VERBATIM)
add_dependencies(room_contacts game_data)

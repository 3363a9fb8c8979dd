# Fails when a source file under src/ includes a header of a floor above its
# own. Floors, bottom to top (folders on one line share a floor):
#   base platform
#   render audio save
#   assets
#   level map
#   player
#   cutscene ui
#   world
#   authoring (the tools' library, never linked into the game)
#   app (the frame and main)
# A folder missing from this list is refused too, so that a new folder is
# given its floor here. Run as: cmake -DSOURCE_DIR=<repo>/src -P CheckFloors.cmake
set(floor_base 0)
set(floor_platform 0)
set(floor_render 1)
set(floor_audio 1)
set(floor_save 1)
set(floor_assets 2)
set(floor_level 3)
set(floor_map 3)
set(floor_player 4)
set(floor_cutscene 5)
set(floor_ui 5)
set(floor_world 6)
set(floor_authoring 7)
set(floor_app 8)

file(GLOB_RECURSE sources ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(offenders "")
foreach(source ${sources})
  file(RELATIVE_PATH relative ${SOURCE_DIR} ${source})
  string(REGEX REPLACE "/.*" "" folder "${relative}")
  if(NOT DEFINED floor_${folder})
    list(APPEND offenders "${relative}: its folder has no floor")
    continue()
  endif()
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([A-Za-z_]+)/.*" "\\1" target "${line}")
    if(NOT DEFINED floor_${target})
      list(APPEND offenders "${relative}: ${line} (a folder without a floor)")
    elseif(floor_${target} GREATER floor_${folder})
      list(APPEND offenders "${relative}: ${line}")
    endif()
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n" report)
  message(FATAL_ERROR "Files include a floor above their own:\n${report}")
endif()

# Fails when a source file below the application frame includes an app/
# header: the frame sits on top and nothing under src/ but app/ reaches up
# into it. Run as: cmake -DSOURCE_DIR=<repo>/src -P CheckAppIncludes.cmake
file(GLOB_RECURSE sources ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(offenders "")
foreach(source ${sources})
  file(RELATIVE_PATH relative ${SOURCE_DIR} ${source})
  if(relative MATCHES "^app/")
    continue()
  endif()
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]app/")
  foreach(line ${includes})
    list(APPEND offenders "${relative}: ${line}")
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n" report)
  message(FATAL_ERROR "Files below the frame include app/ headers:\n${report}")
endif()

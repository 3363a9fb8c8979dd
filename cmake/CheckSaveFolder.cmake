# The player's games in the game folder's Save/ must come out of a test run
# as they went in. Run before the tests with MODE=record, which writes the
# folder's listing (names, sizes, modification times) to LISTING, and after
# them with MODE=compare, which fails naming what the tests changed:
#   cmake -DFOLDER=<game>/Save -DLISTING=<file> -DMODE=record|compare -P CheckSaveFolder.cmake
file(GLOB entries RELATIVE ${FOLDER} ${FOLDER}/* ${FOLDER}/.*)
list(SORT entries)
set(listing "")
foreach(entry ${entries})
  file(SIZE ${FOLDER}/${entry} size)
  file(TIMESTAMP ${FOLDER}/${entry} time "%Y-%m-%dT%H:%M:%S")
  string(APPEND listing "${entry} ${size} ${time}\n")
endforeach()
if(MODE STREQUAL "record")
  file(WRITE ${LISTING} "${listing}")
else()
  file(READ ${LISTING} before)
  if(NOT before STREQUAL listing)
    message(FATAL_ERROR "The tests changed ${FOLDER}\nbefore:\n${before}after:\n${listing}")
  endif()
endif()

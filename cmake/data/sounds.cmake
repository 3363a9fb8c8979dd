# Sounds. soundgen renders every effect source content/sounds/NAME.sound into
# Sound/NAME.wav and every music source content/music/NAME.music into
# Sound/NAME.mp3 of the game directory, one command each so that they build
# in parallel.
set(SOUND_DIR ${GAME_DIR}/Sound)
file(MAKE_DIRECTORY ${SOUND_DIR})
file(GLOB EFFECT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/sounds/*.sound)
file(GLOB MUSIC_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/music/*.music)
set(SOUND_FILES "")
foreach(source ${EFFECT_SOURCES} ${MUSIC_SOURCES})
  get_filename_component(name ${source} NAME_WLE)
  get_filename_component(kind ${source} LAST_EXT)
  if(kind STREQUAL ".sound")
    set(out ${SOUND_DIR}/${name}.wav)
    set(command effect)
  else()
    set(out ${SOUND_DIR}/${name}.mp3)
    set(command music)
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND soundgen ${command} ${source} ${out}
    DEPENDS soundgen ${source}
    COMMENT "Rendering ${name}"
    VERBATIM)
  list(APPEND SOUND_FILES ${out})
endforeach()
set(GAME_DATA_FILES ${GAME_DATA_FILES} ${SOUND_FILES})

# One picture of every sound's waveform and spectrogram: make sound_review.
add_custom_target(sound_review
  COMMAND soundgen review ${CMAKE_BINARY_DIR}/sound_review.png ${GAME_DIR}/typo.dat ${SOUND_FILES}
  DEPENDS ${SOUND_FILES} ${GAME_DIR}/typo.dat
  COMMENT "Drawing the sound review picture"
  VERBATIM)

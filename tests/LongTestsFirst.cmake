# Read by CTest after the test program's tests are listed: the playthroughs,
# a minute or more each, are given a high cost so that CTest starts them
# before the short tests; the tests of several seconds follow them, so that
# none of them is left to run alone on one core at the end.
foreach(test_name IN LISTS gloamer_tests_TESTS)
  if(test_name MATCHES "^Playthrough\\.")
    set_tests_properties(${test_name} PROPERTIES COST 500)
  elseif(test_name MATCHES "^EveryScene/SceneSkip\\.|^RoomReachTest\\.AGapIs|^InGame\\.ManyDoors|^PlayComposer\\.ASlotRoute|^GameSounds\\.MusicLoops")
    set_tests_properties(${test_name} PROPERTIES COST 50)
  endif()
endforeach()

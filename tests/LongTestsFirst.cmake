# Read by CTest after the test program's tests are listed: the playthroughs,
# a minute or more each, are given a high cost so that CTest starts them
# before the short tests.
foreach(test_name IN LISTS gloamer_tests_TESTS)
  if(test_name MATCHES "^Playthrough\\.")
    set_tests_properties(${test_name} PROPERTIES COST 500)
  endif()
endforeach()

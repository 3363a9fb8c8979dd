# Runs the benchmark programs named in BENCHMARKS (separated by commas) from
# the folder DIR, one after the other, headless, each with the arguments in
# ARGS (separated by commas); stops at the first that fails.
# Run as: cmake -DDIR=<folder> -DBENCHMARKS=a,b -DARGS=... -P RunBenchmarks.cmake
set(ENV{SDL_VIDEODRIVER} dummy)
set(ENV{SDL_AUDIODRIVER} dummy)
string(REPLACE "," ";" programs "${BENCHMARKS}")
string(REPLACE "," ";" arguments "${ARGS}")
if(NOT programs)
  message(FATAL_ERROR "no benchmarks to run")
endif()
foreach(program ${programs})
  message(STATUS "${program}")
  execute_process(COMMAND ${DIR}/${program} ${arguments} WORKING_DIRECTORY ${DIR} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${program} failed: ${result}")
  endif()
endforeach()

# Runs a libFuzzer program for a fixed number of inputs on a fresh corpus made of SEEDS.
#   cmake -DFUZZER=<program> -DCORPUS=<dir> -DSEEDS=<files> -P run_fuzzer.cmake
file(REMOVE_RECURSE "${CORPUS}")
file(MAKE_DIRECTORY "${CORPUS}")
foreach(seed IN LISTS SEEDS)
  file(COPY "${seed}" DESTINATION "${CORPUS}")
endforeach()
execute_process(COMMAND "${FUZZER}" -runs=20000 -max_len=20000 "${CORPUS}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the fuzzer found a fault (exit ${result})")
endif()

# One fuzz target's gate under ctest, run as cmake -P with
#   -DFUZZER=<binary> -DMODE=replay|runs -DINPUTS=<folders> -DOPTIONS=<libFuzzer options>
#   -DRUNS=<count> -DLIST=<file> -DARTIFACTS=<folder>
# replay runs every input of the folders once. runs makes RUNS runs from seed 1, starting from
# those inputs. Both take the inputs by name, sorted, and write nothing into any corpus: the
# outcome depends on the sources alone, never on an earlier run or a folder's listing order.
cmake_minimum_required(VERSION 3.25)

set(inputs)
foreach(folder IN LISTS INPUTS)
  file(GLOB found LIST_DIRECTORIES false "${folder}/*")
  list(APPEND inputs ${found})
endforeach()
list(SORT inputs)
list(LENGTH inputs count)

file(MAKE_DIRECTORY ${ARTIFACTS})
set(command ${FUZZER} ${OPTIONS} -seed=1 -artifact_prefix=${ARTIFACTS}/)
if(MODE STREQUAL "replay")
  message(STATUS "Replaying ${count} inputs")
  if(count EQUAL 0)
    return()
  endif()
  list(APPEND command ${inputs})
elseif(MODE STREQUAL "runs")
  # Given as -seed_inputs, the inputs are read in this order: a corpus folder would be read in
  # its listing's order, which differs between file systems, and be written to.
  string(FIND "${inputs}" "," comma)
  if(NOT comma EQUAL -1)
    message(FATAL_ERROR "An input's path holds a comma, which -seed_inputs cannot take")
  endif()
  string(REPLACE ";" "," seedList "${inputs}")
  file(WRITE ${LIST} "${seedList}")
  # Comparisons feed their operands to the mutations, and some are addresses (the sanitizers'
  # checks of pointer arithmetic), which move from run to run: the fixed runs go without them.
  list(APPEND command -runs=${RUNS} -use_cmp=0 -reload=0 -print_final_stats=1)
  if(count GREATER 0)
    list(APPEND command -seed_inputs=@${LIST})
  endif()
else()
  message(FATAL_ERROR "MODE is replay or runs, not '${MODE}'")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1 ${command}
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); any failing input is in ${ARTIFACTS}")
endif()

# How a GoogleTest binary becomes ctest entries. By default one entry per
# test case, so a failure names its case. Under valgrind each entry pays the
# tool's start-up again (over a second for our binaries), so a memory check
# registers each binary as a few shards instead: the same tests, run in a
# handful of processes.
option(MTT_TESTS_AS_SHARDS "Register each test binary as a few shards, not one entry per case" OFF)
set(MTT_TEST_SHARDS 2 CACHE STRING "Shards per test binary when MTT_TESTS_AS_SHARDS is on")

include(GoogleTest)

function(mtt_add_gtests target label)
  # A suite's cases compiled together, a few files to a unit: most of a
  # test file's compile time goes to the headers and templates it shares
  # with the others.
  if(MTT_UNITY)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
  if(NOT MTT_TESTS_AS_SHARDS)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${label})
    return()
  endif()
  math(EXPR last "${MTT_TEST_SHARDS} - 1")
  foreach(index RANGE ${last})
    add_test(NAME ${target}.shard${index} COMMAND ${target})
    set_tests_properties(${target}.shard${index} PROPERTIES LABELS ${label}
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${MTT_TEST_SHARDS};GTEST_SHARD_INDEX=${index}")
  endforeach()
endfunction()

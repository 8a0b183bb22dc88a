# The headless runner, for the desktop build and the browser build (under node) alike:
# scripted or random play with a fixed seed and fixed frame times. It counts heap
# blocks through its own operator new, so it links no test library. Its turn is the
# replay layer's (src/replay), through which the tests replay the golden demos too.
enable_testing()

# Counting replacements of the global operator new and delete, for the programs that
# report their heap use (never the tests, whose libraries expect the usual ones).
add_library(heap_count OBJECT tools/heap_count/heap_count.cpp)
target_include_directories(heap_count PUBLIC tools/heap_count)

# Its scripted and random input, a library so that the tests can hold its draws.
add_library(runner_input STATIC tools/runner/input_script.cpp)
target_include_directories(runner_input PUBLIC tools/runner)
target_link_libraries(runner_input PUBLIC platform)
add_executable(runner tools/runner/main.cpp)
target_link_libraries(runner PRIVATE replay runner_input heap_count)
link_backend(runner platform_headless)

# Random play from a quiet to a crowded level, pinned to its final state and picture:
# work on speed must not change a bit of them, nor may the browser build or another
# processor. A change meant to alter what the game shows updates them here. Through
# an emulator (a cross build's qemu) they take many times as long, and may.
set(PINNED_RUN_TIMEOUT 300)
if(CMAKE_CROSSCOMPILING_EMULATOR)
    set(PINNED_RUN_TIMEOUT 5400)
endif()
function(add_pinned_run level final_state)
    add_test(NAME runner_level_${level} COMMAND runner --random --frames 3000 --seed 3 --level ${level}
             WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    set_tests_properties(runner_level_${level} PROPERTIES PASS_REGULAR_EXPRESSION "frames 3000\n${final_state}\n"
                         TIMEOUT ${PINNED_RUN_TIMEOUT})
endfunction()
add_pinned_run(1 "score 775\nlevel 1\nfuel 96.347\nbattery 0.236\nasteroids left 23\nframe hash b141512badced99f")
add_pinned_run(5 "score 1750\nlevel 5\nfuel 99.816\nbattery 1.330\nasteroids left 121\nframe hash 344910d4fda30edb")
add_pinned_run(20 "score 3350\nlevel 20\nfuel 98.833\nbattery 2.928\nasteroids left 432\nframe hash fa7aece744e80be8")

# A day's challenge at one step a frame, pinned the same way, and its golden demo,
# which must replay as recorded and be a well-formed challenge.
add_test(NAME runner_challenge COMMAND runner --challenge 2026-12-01 --random --seed 7 WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
set_tests_properties(runner_challenge PROPERTIES TIMEOUT ${PINNED_RUN_TIMEOUT} PASS_REGULAR_EXPRESSION
    "frames 10800\nscore 1775\nlevel 1\nfuel 88.516\nbattery 0.900\nasteroids left 19\nframe hash 3f9963b583883fb4\n")
add_test(NAME runner_challenge_replay COMMAND runner --replay tests/data/demos/challenge_2026_12_01.demo
         WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
set_tests_properties(runner_challenge_replay PROPERTIES TIMEOUT ${PINNED_RUN_TIMEOUT}
                     PASS_REGULAR_EXPRESSION "match the recording\nchallenge 2026-12-01: a well-formed challenge\n")

# Long random runs, quiet to crowded, with and without stalls: one table that every
# build reads (the desktop, the portable loops, node, arm64 under qemu), proof that
# each processor and C library plays the same bits. Each line of the table is
# LEVEL FRAMES SEED STALLS FRAME-HASH. Five to twenty-five seconds each here, but
# minutes on a busy machine: the sanitizer build, where they take many times as
# long, leaves them out.
math(EXPR LONG_RUN_TIMEOUT "${PINNED_RUN_TIMEOUT} * 3")
set(LONG_RUNS ${CMAKE_SOURCE_DIR}/tests/data/long_runs.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LONG_RUNS})
file(STRINGS ${LONG_RUNS} long_runs REGEX "^[^#]")
foreach(run IN LISTS long_runs)
    if(NOT run MATCHES "^([0-9]+) ([0-9]+) ([0-9]+) ([0-9]+) ([0-9a-f]+)$")
        message(FATAL_ERROR "${LONG_RUNS}: \"${run}\" is not LEVEL FRAMES SEED STALLS FRAME-HASH")
    endif()
    set(name runner_level_${CMAKE_MATCH_1}_long_stalls_${CMAKE_MATCH_4})
    if(SANITIZE)
        continue() # the table is still read, so that a bad line fails every build
    endif()
    add_test(NAME ${name} COMMAND runner --random --level ${CMAKE_MATCH_1} --frames ${CMAKE_MATCH_2}
                                  --seed ${CMAKE_MATCH_3} --stalls ${CMAKE_MATCH_4} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    set_tests_properties(${name} PROPERTIES TIMEOUT ${LONG_RUN_TIMEOUT} PASS_REGULAR_EXPRESSION
                         "frames ${CMAKE_MATCH_2}\n([a-z ]+ [-0-9.]+\n)+frame hash ${CMAKE_MATCH_5}\n")
endforeach()

# The browser build: the game and the editor as pages, with the data packed beside
# them, and the runner for node, all in one folder that any static web server can
# serve (build/web/site). Its tests replay every golden demo and the pinned runs
# under node, and drive the real game and editor pages in headless Chromium.
set(WEB_SITE ${CMAKE_BINARY_DIR}/site)
set(WEB_PAGE ${CMAKE_SOURCE_DIR}/src/platform/web)

# page(PROGRAM WAITS_FOR_GESTURE PACKED...): PROGRAM.html and what it loads. A page
# that plays sound waits for a first key or click (page.js). PACKED are
# "folder@/place" pairs of files packed with it.
function(page program waits_for_gesture)
    set(settings ${CMAKE_BINARY_DIR}/${program}_page.js)
    file(WRITE ${settings} "Module.waitsForGesture = ${waits_for_gesture};\n")
    set_target_properties(${program} PROPERTIES SUFFIX .html RUNTIME_OUTPUT_DIRECTORY ${WEB_SITE})
    set(packed)
    foreach(files ${ARGN})
        list(APPEND packed "SHELL:--preload-file ${files}")
    endforeach()
    target_link_options(${program} PRIVATE ${packed} "SHELL:--shell-file ${WEB_PAGE}/page.html"
                        "SHELL:--pre-js ${settings}" "SHELL:--pre-js ${WEB_PAGE}/page.js"
                        "SHELL:--pre-js ${WEB_PAGE}/stored_files.js"
                        "SHELL:-s EXPORTED_RUNTIME_METHODS=[callMain]" "SHELL:-s MINIFY_HTML=0")
    set_property(TARGET ${program} APPEND PROPERTY LINK_DEPENDS ${WEB_PAGE}/page.html ${WEB_PAGE}/page.js
                 ${WEB_PAGE}/stored_files.js)
endfunction()

# The index's demo of play at 60 steps a second is packed beside the golden demos.
page(game true ${CMAKE_SOURCE_DIR}/data@/data ${CMAKE_SOURCE_DIR}/tests/data/demos@/demos
     ${WEB_PAGE}/showcase.demo@/demos/showcase.demo)
page(editor false ${CMAKE_SOURCE_DIR}/data@/data)
configure_file(${WEB_PAGE}/index.html ${WEB_SITE}/index.html COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/icons/32x32/space-game.png ${WEB_SITE}/icon.png COPYONLY)

# The runner reads and writes the real files through node. Node's fetch breaks the
# loader's asynchronous start, so it compiles the module at once.
set_target_properties(runner PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${WEB_SITE})
target_link_options(runner PRIVATE "SHELL:-s NODERAWFS=1" "SHELL:-s EXIT_RUNTIME=1"
                    "SHELL:-s WASM_ASYNC_COMPILATION=0" "SHELL:-s ENVIRONMENT=node")

# Every golden demo, replayed by the runner under node, must end as recorded.
# So must the index's showcase.
file(GLOB GOLDEN_DEMOS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/data/demos/*.demo)
list(APPEND GOLDEN_DEMOS ${WEB_PAGE}/showcase.demo)
foreach(demo ${GOLDEN_DEMOS})
    get_filename_component(name ${demo} NAME_WE)
    add_test(NAME node_replay_${name} COMMAND runner --replay ${demo} WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})
    set_tests_properties(node_replay_${name} PROPERTIES TIMEOUT 300)
endforeach()

# The PNG decoder and the screenshot's encoder in a heap far smaller than a picture
# needs: memory that runs out must be a failed load or save, not an aborted page.
add_executable(png_out_of_memory ${CMAKE_SOURCE_DIR}/tests/web/node/png_out_of_memory.cpp)
target_link_libraries(png_out_of_memory PRIVATE png ZLIB::ZLIB)
target_link_options(png_out_of_memory PRIVATE "SHELL:-s MAXIMUM_MEMORY=128MB" "SHELL:-s EXIT_RUNTIME=1"
                    "SHELL:-s WASM_ASYNC_COMPILATION=0" "SHELL:-s ENVIRONMENT=node")
add_test(NAME node_png_out_of_memory COMMAND png_out_of_memory)

# The leaderboard server is a native program: the board's test serves the site with it.
set(NATIVE_SERVER_PROGRAM ${CMAKE_SOURCE_DIR}/build/release/server CACHE FILEPATH
    "The native leaderboard server that serves the site in the board's browser test")
# The real pages in headless Chromium, served on 127.0.0.1. A page replays a demo at
# the speed it was recorded: the three shortest golden demos take half a minute.
set(PAGE_REPLAYED_DEMOS zoom_in_and_out shield_sight_ping die_and_respawn)
file(GLOB WEB_PAGE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/web/*.js)
foreach(script ${WEB_PAGE_TESTS})
    get_filename_component(test_name ${script} NAME_WE)
    set(arguments ${WEB_SITE})
    if(test_name STREQUAL "game_replays_golden_demos")
        list(APPEND arguments ${PAGE_REPLAYED_DEMOS})
    elseif(test_name STREQUAL "board_watch_replays_run")
        list(APPEND arguments ${NATIVE_SERVER_PROGRAM})
    endif()
    add_test(NAME chromium_${test_name} COMMAND node ${script} ${arguments})
    set_tests_properties(chromium_${test_name} PROPERTIES TIMEOUT 300 RESOURCE_LOCK chromium)
endforeach()

# The browser backend's sound library under node, over a stand-in for Web Audio.
add_executable(webaudio_slots_test ${CMAKE_SOURCE_DIR}/tests/platform/web/webaudio_slots_test.cpp)
target_include_directories(webaudio_slots_test PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(webaudio_slots_test PRIVATE platform_web)
target_link_options(webaudio_slots_test PRIVATE "SHELL:--pre-js ${CMAKE_SOURCE_DIR}/tests/platform/web/fake_web_audio.js"
                    "SHELL:-s EXIT_RUNTIME=1" "SHELL:-s WASM_ASYNC_COMPILATION=0" "SHELL:-s ENVIRONMENT=node")
add_test(NAME node_webaudio_slots COMMAND node $<TARGET_FILE:webaudio_slots_test>)

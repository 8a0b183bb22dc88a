# The game's libraries and programs import no transcendental function from the C
# library (tests/tools/no_platform_math.sh). In the browser build each program carries
# its C library inside it, so there the program's own objects are read instead.
get_property(subsystem_folders GLOBAL PROPERTY SUBSYSTEM_FOLDERS)
set(math_checked_files)
foreach(folder IN LISTS subsystem_folders)
    get_property(target GLOBAL PROPERTY SUBSYSTEM_TARGET_${folder})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
        list(APPEND math_checked_files $<TARGET_FILE:${target}>)
    endif()
endforeach()
list(APPEND math_checked_files $<TARGET_FILE:runner_input>)
foreach(program game editor runner)
    if(EMSCRIPTEN)
        list(APPEND math_checked_files $<TARGET_OBJECTS:${program}>)
    else()
        list(APPEND math_checked_files $<TARGET_FILE:${program}>)
    endif()
endforeach()
add_test(NAME no_platform_math COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tools/no_platform_math.sh ${CMAKE_NM}
                                       ${math_checked_files})

# Run by cpack once the files are staged (CPACK_PRE_BUILD_SCRIPTS): in a Debian
# package the programs of a game live in /usr/games, as Debian's policy asks; a plain
# `cmake --install` keeps them in bin/, on the user's PATH.
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(MAKE_DIRECTORY ${staged}/games)
foreach(program space-game space-game-editor space-game-server)
    file(RENAME ${staged}/bin/${program} ${staged}/games/${program})
endforeach()
file(GLOB left ${staged}/bin/*)
if(NOT left)
    file(REMOVE_RECURSE ${staged}/bin)
endif()

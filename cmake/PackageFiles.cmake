# What a Debian package must carry besides the programs and their data: the
# copyright, the changelog, manual pages and AppStream metadata, made here at build
# time from the files in packaging/ (the manual pages from the programs' own --help).
set(PACKAGE_FILES ${CMAKE_BINARY_DIR}/package)

configure_file(packaging/copyright ${PACKAGE_FILES}/copyright @ONLY)
install(FILES ${PACKAGE_FILES}/copyright DESTINATION ${GAME_DOC_DESTINATION})

configure_file(packaging/space-game.metainfo.xml.in ${PACKAGE_FILES}/${SPACE_GAME_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${PACKAGE_FILES}/${SPACE_GAME_APPSTREAM_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME space-game)

# Debian wants both compressed to the full, without a time stamp (gzip -9n).
find_program(GZIP gzip REQUIRED)
configure_file(packaging/changelog ${PACKAGE_FILES}/changelog @ONLY)
add_custom_command(OUTPUT ${PACKAGE_FILES}/changelog.gz
                   COMMAND ${GZIP} -9nkf ${PACKAGE_FILES}/changelog
                   DEPENDS ${PACKAGE_FILES}/changelog)
set(package_outputs ${PACKAGE_FILES}/changelog.gz)
install(FILES ${PACKAGE_FILES}/changelog.gz DESTINATION ${GAME_DOC_DESTINATION})

# A manual page per program, section 6 (games) unless another is given: help2man reads the program's --help,
# and packaging/NAME.h2m adds what --help does not say. The program runs under its
# installed name, which its --help shows and the page is named by. (The version is
# given, not read: "Space Game 1.0.0" would name the page "Space".)
find_program(HELP2MAN help2man REQUIRED)
file(MAKE_DIRECTORY ${PACKAGE_FILES}/man)
# A cross build's program runs through its emulator, from a script of that name.
function(manual_page target name summary)
    set(section 6)
    if(ARGC GREATER 3)
        set(section ${ARGV3})
    endif()
    set(page ${PACKAGE_FILES}/man/${name}.${section})
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
        file(GENERATE OUTPUT ${PACKAGE_FILES}/man/${name} CONTENT "#!/bin/sh\nexec ${emulator} $<TARGET_FILE:${target}> \"$@\"\n"
             FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
        set(make_runnable ${CMAKE_COMMAND} -E true)
    else()
        set(make_runnable ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${target}> ${PACKAGE_FILES}/man/${name})
    endif()
    add_custom_command(OUTPUT ${page}.gz
                       COMMAND ${make_runnable}
                       COMMAND ${HELP2MAN} --no-info --section=${section} --name=${summary} --version-string=${PROJECT_VERSION}
                               --include=${PROJECT_SOURCE_DIR}/packaging/${name}.h2m --output=${page}
                               ${PACKAGE_FILES}/man/${name}
                       COMMAND ${GZIP} -9nkf ${page}
                       DEPENDS ${target} ${PROJECT_SOURCE_DIR}/packaging/${name}.h2m
                       COMMENT "Writing the manual page of ${name}")
    set(package_outputs ${package_outputs} ${page}.gz PARENT_SCOPE)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endfunction()
manual_page(game space-game "fly a ship through a field of asteroids")
manual_page(editor space-game-editor "edit the ship that space-game flies")
manual_page(server space-game-server "the leaderboard server that replays every run it ranks" 1) # a service, not a game
add_custom_target(package_files ALL DEPENDS ${package_outputs})

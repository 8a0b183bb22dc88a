# Debian's hardening flags, as dpkg-buildflags gives them to every package it builds:
# the stack protector, fortified C library calls, format checks, and relocations made
# read-only and bound at start-up. They leave out optimisation and debug flags, which
# stay the build type's, so the optimised build's code (and every frame it draws)
# stays what it is. Where dpkg-buildflags is missing the build goes on without them.
function(apply_debian_hardening)
    find_program(DPKG_BUILDFLAGS dpkg-buildflags)
    if(NOT DPKG_BUILDFLAGS)
        message(WARNING "dpkg-buildflags not found: building without Debian's hardening flags")
        return()
    endif()
    set(options "DEB_BUILD_MAINT_OPTIONS=hardening=+all")
    # A cross build gets the flags of the machine it builds for, not of this one.
    if(CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
        list(APPEND options "DEB_HOST_ARCH=${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}")
    endif()
    foreach(language C CXX)
        list(APPEND options "DEB_${language}FLAGS_MAINT_STRIP=-g -O2")
    endforeach()
    foreach(kind CPPFLAGS CFLAGS CXXFLAGS LDFLAGS)
        # From the source folder: the flag that maps it to "." keeps build paths out.
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${options} ${DPKG_BUILDFLAGS} --get ${kind}
                        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE ${kind}
                        OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    message(STATUS "Debian hardening: ${CPPFLAGS} ${CXXFLAGS} ${LDFLAGS}")
    set(CMAKE_C_FLAGS "${CMAKE_C_FLAGS} ${CPPFLAGS} ${CFLAGS}" PARENT_SCOPE)
    set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} ${CPPFLAGS} ${CXXFLAGS}" PARENT_SCOPE)
    set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} ${LDFLAGS}" PARENT_SCOPE)
endfunction()

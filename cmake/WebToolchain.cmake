# The browser build's own setting-up, before the subsystems: zlib compiled to
# WebAssembly by tools/web/setup.sh (emscripten's own zlib port needs the network),
# and the compiler flags every library needs there.
set(WEB_ZLIB_DIR ${CMAKE_SOURCE_DIR}/build/web-zlib CACHE PATH "zlib built for WebAssembly (tools/web/setup.sh)")
if(NOT EXISTS ${WEB_ZLIB_DIR}/lib/libz.a)
    message(FATAL_ERROR "no zlib for WebAssembly in ${WEB_ZLIB_DIR}: run tools/web/setup.sh (./web.sh does)")
endif()
add_library(ZLIB::ZLIB STATIC IMPORTED)
set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION ${WEB_ZLIB_DIR}/lib/libz.a
                                            INTERFACE_INCLUDE_DIRECTORIES ${WEB_ZLIB_DIR}/include)

# The SSE code runs on WebAssembly's 128-bit lanes, with the same results, and faster
# than the portable loops (render/simd_sse2.h rounds with WebAssembly's own
# instructions where emscripten's emulation would call lrint). Clang 14's SLP
# vectoriser miscompiles the sprite drawer's four-row loop for WebAssembly (a later
# lane's value lands in lane 0): every frame hash would differ from the desktop's,
# which the golden demos and the pinned runs catch.
add_compile_options(-msse2 -msimd128 -fno-slp-vectorize -mnontrapping-fptoint -mbulk-memory)
# Exceptions are never caught here (catching them slows all the WebAssembly), so
# running out of memory must show as a null from malloc and new (std::nothrow), which
# the PNG decoder and the screenshot's encoder check, rather than abort the page.
add_link_options($<$<CONFIG:Release>:-O3> -sALLOW_MEMORY_GROWTH=1 -sABORTING_MALLOC=0 -mnontrapping-fptoint
                 -mbulk-memory)

# emcmake names node with a flag (--experimental-wasm-threads) that today's node
# refuses; the runner needs no threads, so its tests run under plain node.
find_program(NODE_PROGRAM node REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NODE_PROGRAM})

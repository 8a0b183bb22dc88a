# cmake -DINPUT=FILE -DOUTPUT=FILE.cpp -DSYMBOL=NAME -P embed_file.cmake
# Writes a C++ source that defines the bytes of INPUT as `const uint8_t NAME[]` and
# their count as `const size_t NAME_SIZE`, so a program carries the file inside it.
file(READ ${INPUT} bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR count "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
# Twenty bytes a line keeps the source readable in an editor.
string(REPEAT "0x[0-9a-f][0-9a-f]," 20 line)
string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
file(RELATIVE_PATH shown ${CMAKE_CURRENT_LIST_DIR}/.. ${INPUT})
file(WRITE ${OUTPUT}.new "// Made from ${shown} by cmake/embed_file.cmake at build time.
#include <cstddef>
#include <cstdint>

extern const uint8_t ${SYMBOL}[] = {
    ${bytes}
};
extern const size_t ${SYMBOL}_SIZE = ${count};
")
# Only a real change touches the source, so a rebuild compiles it only then.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)

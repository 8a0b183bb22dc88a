// The number text of .mdata files, independent of the process locale. Writing is
// "%.7g" with a space in front of anything that does not start with a minus sign;
// reading is tolerant: leading blanks, a sign, digits, a fraction, an exponent after
// E or D, stopping at the first character that does not fit, and 0 for no number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

std::string formatMdataNumber(float value);
// Whether the text is one number and nothing else (blanks aside), as a file written
// by SAVE or by a careful hand holds it: what tells a model file from other text.
bool isWholeMdataNumber(std::string_view text);
std::string formatMdataCount(int32_t count);
double parseMdataNumber(std::string_view text);
// A coordinate as stored: the parsed double narrowed to float, out-of-range values
// becoming infinities as in IEEE arithmetic instead of undefined behaviour.
float parseMdataCoordinate(std::string_view text);
// The same two made with the C library's snprintf and strtod, as a standard library
// without the floating-point to_chars and from_chars (the browser build's) does: the
// two above are these there, and a test holds them alike everywhere else.
std::string formatMdataNumberByCLibrary(float value);
double parseMdataNumberByCLibrary(std::string_view text);

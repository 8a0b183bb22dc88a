// Locale-free number text for .mdata files. std::to_chars and std::from_chars are
// defined as the C locale's printf and strtod, so a decimal-comma locale changes
// nothing. The reader first cuts out the longest prefix that forms a number and
// hands a normalised copy (no '+', no blanks, 'e' for the exponent) to from_chars.
// A standard library without the floating-point forms (the browser build's) uses
// snprintf and strtod instead, whose locale there is always the C locale.
#include "model/mdata_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

constexpr int kSignificantDigits = 7;
// An exponent beyond this cannot change whether a value over- or underflows.
constexpr long kExponentSaturation = 100000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isExponentMark(char c) { return c == 'E' || c == 'e' || c == 'D' || c == 'd'; }

std::string withSignColumn(const char* first, const char* last)
{
    std::string text(first, last);
    return text.front() == '-' ? text : " " + text;
}

// The pieces of a number as cut from the text; digits only, signs kept apart.
struct NumberParts {
    bool negative = false;
    std::string_view integerDigits;
    std::string_view fractionDigits;
    bool negativeExponent = false;
    std::string_view exponentDigits;
    size_t length = 0; // of the text the number was cut from, blanks in front included
};

std::string_view takeDigits(std::string_view text, size_t& at)
{
    const size_t first = at;
    while (at < text.size() && isDigit(text[at])) ++at;
    return text.substr(first, at - first);
}

// False when the text holds no digit before the first character that does not fit.
bool cutNumber(std::string_view text, NumberParts& parts)
{
    size_t at = 0;
    while (at < text.size() && isBlank(text[at])) ++at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) parts.negative = text[at++] == '-';
    parts.integerDigits = takeDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        parts.fractionDigits = takeDigits(text, at);
    }
    if (parts.integerDigits.empty() && parts.fractionDigits.empty()) return false;

    // An exponent mark counts only with at least one digit after it (and its sign).
    if (at < text.size() && isExponentMark(text[at])) {
        size_t probe = at + 1;
        bool negativeExponent = false;
        if (probe < text.size() && (text[probe] == '+' || text[probe] == '-')) negativeExponent = text[probe++] == '-';
        const std::string_view exponentDigits = takeDigits(text, probe);
        if (!exponentDigits.empty()) {
            parts.negativeExponent = negativeExponent;
            parts.exponentDigits = exponentDigits;
            at = probe;
        }
    }
    parts.length = at;
    return true;
}

long saturatedExponent(const NumberParts& parts)
{
    long exponent = 0;
    for (char c : parts.exponentDigits) {
        exponent = exponent * 10 + (c - '0');
        if (exponent > kExponentSaturation) exponent = kExponentSaturation;
    }
    return parts.negativeExponent ? -exponent : exponent;
}

// Decimal order of magnitude of a number with at least one non-zero digit, only to
// tell an overflow from an underflow when from_chars reports the value out of range.
long decimalOrder(const NumberParts& parts)
{
    const size_t firstSignificant = parts.integerDigits.find_first_not_of('0');
    if (firstSignificant != std::string_view::npos) {
        return static_cast<long>(parts.integerDigits.size() - firstSignificant) - 1 + saturatedExponent(parts);
    }
    const size_t zeros = parts.fractionDigits.find_first_not_of('0');
    return -static_cast<long>(zeros) - 1 + saturatedExponent(parts);
}

// The C library's forms, compiled everywhere so that a test can hold them to the
// standard library's.
struct CLibraryChars {
    static const char* formatGeneral(char* first, char* last, float value)
    {
        const int length = std::snprintf(first, size_t(last - first), "%.*g", kSignificantDigits, double(value));
        return first + std::clamp(length, 0, int(last - first) - 1);
    }

    // As from_chars: a result that over- or underflows to infinity or zero is out of
    // range; one that only loses precision in the subnormals is not.
    static bool parseNormalised(const std::string& text, double& value)
    {
        errno = 0;
        const double parsed = std::strtod(text.c_str(), nullptr);
        if (errno == ERANGE && (parsed == 0.0 || std::isinf(parsed))) return false;
        value = parsed;
        return true;
    }
};

#if defined(__cpp_lib_to_chars)
struct StandardChars {
    static const char* formatGeneral(char* first, char* last, float value)
    {
        return std::to_chars(first, last, value, std::chars_format::general, kSignificantDigits).ptr;
    }

    // False when the value lies out of a double's range.
    static bool parseNormalised(const std::string& text, double& value)
    {
        return std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc::result_out_of_range;
    }
};
#else
using StandardChars = CLibraryChars;
#endif

template <class Chars>
std::string formatNumber(float value)
{
    char buffer[32];
    return withSignColumn(buffer, Chars::formatGeneral(buffer, buffer + sizeof buffer, value));
}

template <class Chars>
double parseNumber(std::string_view text)
{
    NumberParts parts;
    if (!cutNumber(text, parts)) return 0.0;

    std::string normal;
    normal.reserve(text.size() + 4);
    if (parts.negative) normal += '-';
    normal += parts.integerDigits.empty() ? std::string_view("0") : parts.integerDigits;
    if (!parts.fractionDigits.empty()) {
        normal += '.';
        normal += parts.fractionDigits;
    }
    if (!parts.exponentDigits.empty()) {
        normal += parts.negativeExponent ? "e-" : "e";
        normal += parts.exponentDigits;
    }

    double value = 0.0;
    if (!Chars::parseNormalised(normal, value)) {
        value = decimalOrder(parts) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
        if (parts.negative) value = -value;
    }
    return value;
}

} // namespace

std::string formatMdataNumber(float value) { return formatNumber<StandardChars>(value); }
std::string formatMdataNumberByCLibrary(float value) { return formatNumber<CLibraryChars>(value); }

std::string formatMdataCount(int32_t count)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, count);
    return withSignColumn(buffer, result.ptr);
}

bool isWholeMdataNumber(std::string_view text)
{
    NumberParts parts;
    if (!cutNumber(text, parts)) return false;
    const std::string_view rest = text.substr(parts.length);
    return std::all_of(rest.begin(), rest.end(), isBlank);
}

double parseMdataNumber(std::string_view text) { return parseNumber<StandardChars>(text); }
double parseMdataNumberByCLibrary(std::string_view text) { return parseNumber<CLibraryChars>(text); }

float parseMdataCoordinate(std::string_view text)
{
    const double value = parseMdataNumber(text);
    // Half an ulp above FLT_MAX: from here on round-to-nearest gives infinity. Casting
    // such a double to float directly would be undefined.
    constexpr double kFloatOverflow = 0x1.ffffffp127;
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (std::fabs(value) >= kFloatOverflow) return value > 0.0 ? kInfinity : -kInfinity;
    return static_cast<float>(value);
}

// std::to_chars with the general format and precision 7 is defined to match printf's
// "%.7g" in the C locale, so the output never depends on the process locale.
#include "mdata_writer.h"

#include "ship_outline.h"

#include <charconv>

namespace assetgen {

namespace {

constexpr int kSignificantDigits = 7;

std::string withSignColumn(std::string digits) { return digits.front() == '-' ? digits : " " + digits; }

void appendLine(std::string& text, const std::string& line) { text += line + "\r\n"; }

void appendPoint(std::string& text, Point p)
{
    appendLine(text, formatMdataNumber(float(p.x)));
    appendLine(text, formatMdataNumber(float(p.y)));
}

} // namespace

std::string formatMdataNumber(float value)
{
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, kSignificantDigits);
    return withSignColumn(std::string(buffer, result.ptr));
}

std::vector<uint8_t> encodeShipModel()
{
    const size_t count = kShipVertices.size();
    std::string text;
    appendLine(text, withSignColumn(std::to_string(int(count) - 1)));
    for (size_t i = 0; i < count; ++i) {
        const Point start = shipLineStart(i);
        const Point end = kShipVertices[i];
        appendPoint(text, start);
        appendPoint(text, texturePointOf(start));
        appendPoint(text, end);
        appendPoint(text, texturePointOf(end));
    }
    return {text.begin(), text.end()};
}

} // namespace assetgen

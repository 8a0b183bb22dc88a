// A scanner over the top level of one object: nested values are skipped whole, so a
// field of the same name inside them is never taken for the answer's own.
#include "app/board_reply.h"

#include <cctype>
#include <cstdio>

namespace {

void skipSpace(const std::string& json, size_t& at)
{
    while (at < json.size() && std::isspace(static_cast<unsigned char>(json[at]))) ++at;
}

// A string starting at at (its opening quote), escapes resolved; \u gives ASCII only,
// which is all the server writes (its names are printable ASCII).
std::optional<std::string> readString(const std::string& json, size_t& at)
{
    std::string text;
    for (++at; at < json.size(); ++at) {
        const char c = json[at];
        if (c == '"') {
            ++at;
            return text;
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (++at >= json.size()) return std::nullopt;
        const char escaped = json[at];
        if (escaped == 'u') {
            unsigned code = 0;
            if (at + 4 >= json.size() || std::sscanf(json.c_str() + at + 1, "%4x", &code) != 1) return std::nullopt;
            text += code < 0x80 ? char(code) : '?';
            at += 4;
        } else {
            const std::string from = "nrtbf", to = "\n\r\t\b\f";
            const size_t known = from.find(escaped);
            text += known == std::string::npos ? escaped : to[known];
        }
    }
    return std::nullopt;
}

// Skips any value: strings by their quotes, objects and arrays by their depth.
bool skipValue(const std::string& json, size_t& at)
{
    if (at < json.size() && json[at] == '"') return readString(json, at).has_value();
    int depth = 0;
    for (; at < json.size(); ++at) {
        const char c = json[at];
        if (c == '"') {
            if (!readString(json, at)) return false;
            --at;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            if (depth == 0) return true;
            if (--depth == 0) {
                ++at;
                return true;
            }
        } else if (c == ',' && depth == 0) {
            return true;
        }
    }
    return false;
}

// Where the field's value starts, or npos.
size_t valueOf(const std::string& json, const std::string& field)
{
    size_t at = 0;
    skipSpace(json, at);
    if (at >= json.size() || json[at] != '{') return std::string::npos;
    ++at;
    while (true) {
        skipSpace(json, at);
        if (at >= json.size() || json[at] != '"') return std::string::npos;
        const std::optional<std::string> name = readString(json, at);
        skipSpace(json, at);
        if (!name || at >= json.size() || json[at] != ':') return std::string::npos;
        ++at;
        skipSpace(json, at);
        if (*name == field) return at;
        if (!skipValue(json, at)) return std::string::npos;
        skipSpace(json, at);
        if (at >= json.size() || json[at] != ',') return std::string::npos;
        ++at;
    }
}

} // namespace

std::optional<std::string> jsonText(const std::string& json, const std::string& field)
{
    size_t at = valueOf(json, field);
    if (at >= json.size() || json[at] != '"') return std::nullopt;
    return readString(json, at);
}

std::optional<long long> jsonNumber(const std::string& json, const std::string& field)
{
    const size_t at = valueOf(json, field);
    if (at >= json.size()) return std::nullopt;
    long long number = 0;
    int used = 0;
    if (std::sscanf(json.c_str() + at, "%lld%n", &number, &used) != 1) return std::nullopt;
    const char after = json[at + size_t(used)];
    if (after == '.' || after == 'e' || after == 'E') return std::nullopt; // not a whole number
    return number;
}

std::string percentEncoded(const std::string& text)
{
    std::string encoded;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += char(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            encoded += code;
        }
    }
    return encoded;
}

// Reading the leaderboard server's answers: flat JSON objects of strings, numbers and
// null. Only what the game asks for is looked up; an answer that is no such object, or
// a field that is missing or of another kind, reads as absent.
#pragma once

#include <optional>
#include <string>

std::optional<std::string> jsonText(const std::string& json, const std::string& field);
std::optional<long long> jsonNumber(const std::string& json, const std::string& field);
// Letters, digits and -._~ as they are; every other byte as %XX.
std::string percentEncoded(const std::string& text);

// The lines of a settings file as its reader sees them, kept apart so that the save,
// which rewrites a value where it stands, finds the very lines the reader used. A line
// is "name = value"; blank lines and lines starting with # are no settings.
#pragma once

#include <string>
#include <vector>

struct SettingsLine {
    int number = 0;             // from 1
    bool setting = false;       // neither blank nor a comment
    bool hasEquals = false;     // without "=", a setting line is malformed
    std::string name, value;    // trimmed
    size_t afterEquals = 0;     // where in the text the "=" ends
    size_t valueStart = 0;      // the trimmed value's bytes in the text; an empty value
    size_t valueEnd = 0;        // stands right after the "="
};

// Every line of the text, blank and comment lines included, so that line n is at n - 1.
std::vector<SettingsLine> settingsLines(const std::string& text);

// The text without the spaces, tabs and carriage return (of a CRLF file) around it.
std::string trimmed(const std::string& text);

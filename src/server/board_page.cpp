#include "server/board_page.h"

namespace {

constexpr const char* kPageStart = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Space Game challenge: DAY</title>
<style>
body { font-family: sans-serif; background: #000; color: #ddd; margin: 2em auto; max-width: 40em; }
a { color: #8cf; }
table { border-collapse: collapse; width: 100%; }
th, td { padding: 0.2em 0.6em; text-align: left; }
td.number { text-align: right; }
</style>
</head>
<body>
<h1>The challenge of DAY (UTC)</h1>
)";

std::string withDay(std::string text, const std::string& day)
{
    for (size_t at = text.find("DAY"); at != std::string::npos; at = text.find("DAY", at + day.size())) {
        text.replace(at, 3, day);
    }
    return text;
}

std::string runRow(const BoardEntry& run)
{
    const std::string id = std::to_string(run.id);
    return "<tr><td class=\"number\">" + std::to_string(run.rank) + "</td><td>" + escapeHtml(run.name) +
           "</td><td class=\"number\">" + std::to_string(run.score) + "</td><td class=\"number\">" +
           std::to_string(run.level) + "</td><td><a href=\"/game.html?run=" + id + "\">watch</a></td></tr>\n";
}

} // namespace

std::string escapeHtml(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&#39;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string boardPage(const std::string& day, const std::string& dayBefore, const std::vector<BoardEntry>& runs)
{
    std::string page = withDay(kPageStart, day);
    if (runs.empty()) {
        page += "<p>No run has been verified for " + day + " yet.</p>\n";
    } else {
        page += "<table>\n<tr><th>Rank</th><th>Name</th><th>Score</th><th>Level</th><th></th></tr>\n";
        for (const BoardEntry& run : runs) page += runRow(run);
        page += "</table>\n";
    }
    page += "<p><a href=\"/boards/" + dayBefore + "\">The day before, " + dayBefore + "</a></p>\n";
    page += "<p>Every run here was replayed by this server from its recorded inputs: a replay proves that the "
            "score is reachable by those inputs under the rules, not that a person played them in real time.</p>\n";
    return page + "</body>\n</html>\n";
}

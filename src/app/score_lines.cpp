// Table rows with fixed columns, so that names and scores line up in the font.
#include "app/score_lines.h"

#include <cstdio>

namespace {

constexpr size_t kHoursAndMinutes = 5; // "07:15" of "2026-12-08T07:15:03Z"

std::string tableLine(size_t rank, const ScoreEntry& entry, bool showDay)
{
    const std::string when = showDay ? entry.day : entry.finished.substr(kStampTimeStart, kHoursAndMinutes);
    char line[96];
    std::snprintf(line, sizeof line, "%2zu. %-16s %9lld  level %-3d %s", rank, entry.name.c_str(),
                  static_cast<long long>(entry.score), entry.level, when.c_str());
    return line;
}

} // namespace

std::vector<std::string> scoreTableLines(const std::vector<ScoreEntry>& table, bool showDay)
{
    std::vector<std::string> lines;
    for (size_t i = 0; i < table.size(); ++i) lines.push_back(tableLine(i + 1, table[i], showDay));
    if (lines.empty()) lines.push_back("    (no runs yet)");
    return lines;
}

std::vector<std::string> scoreReport(const ScoreTables& tables, const std::string& day)
{
    std::vector<std::string> lines = {"Challenge " + day + " (UTC): the day's best ten"};
    for (const std::string& line : scoreTableLines(tables.day, false)) lines.push_back(line);
    lines.push_back("");
    lines.push_back("The best ten of all time");
    for (const std::string& line : scoreTableLines(tables.allTime, true)) lines.push_back(line);
    return lines;
}

// The score tables as lines of text, the same for the terminal (--scores) and the
// result screen, in the 80 columns of the 8-pixel font.
#pragma once

#include "app/score_table.h"

#include <string>
#include <vector>

// " 1. Ada              12345  level 3  07:15" (the time of day, UTC) for the day's
// table; the all-time table shows the day instead. "(no runs yet)" for an empty table.
std::vector<std::string> scoreTableLines(const std::vector<ScoreEntry>& table, bool showDay);

// What --scores prints: both tables for the day, each under its heading.
std::vector<std::string> scoreReport(const ScoreTables& tables, const std::string& day);

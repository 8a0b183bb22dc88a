// A day's board as an HTML page: its verified runs, best first, each with a link that
// replays it in the game's page on the same site; an empty day says so. Names are the
// players' own text and are escaped.
#pragma once

#include "server/store/run_store.h"

#include <string>
#include <vector>

std::string escapeHtml(const std::string& text);

std::string boardPage(const std::string& day, const std::string& dayBefore, const std::vector<BoardEntry>& runs);

// The ship model in the game's .mdata text format: CR LF lines, the upper bound of the
// line list first, then per line start, texStart, end, texEnd as x, y pairs, one
// number per line in the C "%.7g" style with a space where a minus sign would go.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

// One coordinate as the model saver writes it, e.g. " 0", "-13", " 2.5", " 1e-10".
std::string formatMdataNumber(float value);

std::vector<uint8_t> encodeShipModel();

} // namespace assetgen

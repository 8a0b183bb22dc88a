// The catalogue of every data file the generator makes, and of the desktop icon under
// packaging/: its path under the output root and the function that produces its bytes
// in memory. Both the generator program and the test that compares its output with
// the committed files walk this list.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace assetgen {

struct AssetRecipe {
    std::string_view path; // relative, with forward slashes, e.g. "data/visual/rock.png"
    std::vector<uint8_t> (*make)();
};

std::span<const AssetRecipe> assetCatalogue();

// The ship model is written like the rest, but the editor owns the committed copy once
// someone edits it, so it is the one file not expected to match the generator.
constexpr std::string_view kEditorOwnedPath = "data/model/Ship.mdata";

} // namespace assetgen

// assetgen [output-root]: writes every file of the catalogue under <output-root>
// (default: the current directory): data/ and the icon in packaging/, making folders,
// and names each file on stdout. On failure it names the file on stderr and exits 1.
// An existing ship model is kept: it may hold a user's work from the editor.
#include "assets.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes, std::string& error)
{
    std::error_code code;
    std::filesystem::create_directories(path.parent_path(), code);
    if (code) {
        error = "cannot create folder: " + code.message();
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        error = std::string("cannot write: ") + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::cerr << "usage: assetgen [output-root]\n";
        return 2;
    }
    const std::filesystem::path root = argc == 2 ? argv[1] : ".";
    for (const assetgen::AssetRecipe& recipe : assetgen::assetCatalogue()) {
        const std::filesystem::path path = root / recipe.path;
        if (recipe.path == assetgen::kEditorOwnedPath && std::filesystem::exists(path)) {
            std::cout << path.string() << " kept (the editor owns it once it exists)\n";
            continue;
        }
        std::string error;
        try {
            if (writeFile(path, recipe.make(), error)) {
                std::cout << path.string() << '\n';
                continue;
            }
        } catch (const std::exception& failure) {
            error = failure.what();
        }
        std::cerr << "assetgen: " << path.string() << ": " << error << '\n';
        return 1;
    }
    return 0;
}

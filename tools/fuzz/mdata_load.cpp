// libFuzzer target for LOAD: each input becomes data/model/Fuzz.mdata in a private
// temporary folder, which is the working directory only while LOAD runs (libFuzzer
// opens its corpus by relative paths). Besides the sanitizers it checks that both
// lists keep one length and that no more line records appear than the bytes hold.
#include "model/model.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

fs::path privateFolder;

void removePrivateFolder()
{
    std::error_code ignored;
    fs::remove_all(privateFolder, ignored);
}

bool enterPrivateFolder()
{
    std::string pattern = (fs::temp_directory_path() / "fuzz_mdata_load_XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return false;
    privateFolder = pattern;
    fs::create_directories(privateFolder / "data" / "model");
    std::atexit(removePrivateFolder);
    return true;
}

bool writeInput(const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen((privateFolder / "data/model/Fuzz.mdata").c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = enterPrivateFolder();
    if (!ready || !writeInput(data, size)) std::abort();

    Model model;
    model.radius = 3;
    const fs::path previous = fs::current_path();
    fs::current_path(privateFolder);
    const bool loaded = LOAD(model, "Fuzz.mdata");
    fs::current_path(previous);
    if (!loaded) std::abort(); // the file exists: LOAD must not fail
    if (model.lines.size() != model.transformed.size()) std::abort();
    // A record needs at least one value line of at least one byte after the count line.
    if (model.lines.size() > size / 8 + 1) std::abort();
    if (model.radius != 3) std::abort();
    return 0;
}

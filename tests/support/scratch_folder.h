// A fresh temporary folder, made the working directory for as long as the object
// lives, so a test can give a program a data/ folder of its own; the repository's
// files are never touched. The previous working directory comes back at the end.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class ScratchFolder {
public:
    // With data/model/ (and more folders under data/ as asked) already made.
    explicit ScratchFolder(const std::string& prefix, std::initializer_list<const char*> dataFolders = {"model"})
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / (prefix + "_XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "cannot make a scratch folder from " << pattern;
        path_ = pattern;
        for (const char* folder : dataFolders) fs::create_directories(path_ / "data" / folder);
        home_ = fs::current_path();
        fs::current_path(path_);
    }
    ~ScratchFolder()
    {
        std::filesystem::current_path(home_);
        // A test may have made its model folder read-only; removal needs it writable.
        ::chmod((path_ / "data" / "model").c_str(), 0755);
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
    std::filesystem::path home_;
};

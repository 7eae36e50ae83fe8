// A file for fuzz targets that must work on a real file: it lies in a folder
// of its own under the temporary folder, removed with the folder when the run ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class FuzzScratchFile {
public:
    FuzzScratchFile(const std::string& FolderPrefix, const std::string& FileName) {
        std::string pattern = (std::filesystem::temp_directory_path() / (FolderPrefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        folder_ = pattern;
        path_ = pattern + "/" + FileName;
    }
    FuzzScratchFile(const FuzzScratchFile&) = delete;
    FuzzScratchFile& operator=(const FuzzScratchFile&) = delete;
    ~FuzzScratchFile() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    const std::string& path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

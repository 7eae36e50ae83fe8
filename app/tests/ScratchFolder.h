// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers to put files there and read them back byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

class ScratchFolder {
public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("quorvane-app-" + std::to_string(::getpid()) + "-" + (test ? test->name() : "folder"));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's path with a trailing "/".
    std::string Path() const { return path_.string() + "/"; }
    std::string operator/(const std::string& Name) const { return (path_ / Name).string(); }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& Path, const std::string& Bytes) {
    std::filesystem::create_directories(std::filesystem::path(Path).parent_path());
    std::ofstream(Path, std::ios::binary) << Bytes;
}

inline std::string ReadFile(const std::string& Path) {
    std::ifstream in(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool Exists(const std::string& Path) {
    return std::filesystem::exists(Path);
}

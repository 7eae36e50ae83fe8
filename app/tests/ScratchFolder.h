// A fresh folder for one test, removed with everything in it afterwards, and
// small helpers to put files there and read them back byte for byte.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class ScratchFolder {
public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // Taken once: a test may point TMPDIR at a scratch folder of its own.
        static const std::filesystem::path base = std::filesystem::temp_directory_path();
        path_ =
            base / ("quorvane-app-" + std::to_string(::getpid()) + "-" + (test ? test->name() : "folder"));
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

// Held by a test that uses the program's own settings file beside the test
// program, so that tests run in parallel processes take their turns.
class ProgramFolderLock {
public:
    explicit ProgramFolderLock(const std::string& LockFile)
        : descriptor_(::open(LockFile.c_str(), O_CREAT | O_RDWR, 0600)) {
        if (descriptor_ >= 0) ::flock(descriptor_, LOCK_EX);
    }
    ~ProgramFolderLock() {
        if (descriptor_ >= 0) ::close(descriptor_); // closing lets the lock go
    }
    ProgramFolderLock(const ProgramFolderLock&) = delete;
    ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

private:
    int descriptor_;
};

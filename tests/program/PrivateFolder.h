// A folder of a display test's own under the temporary folder, removed with
// what is in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class PrivateFolder {
public:
    // Another test of the binary may leave TMPDIR naming a folder it removed.
    explicit PrivateFolder(const std::string& Prefix) {
        std::error_code missing;
        std::filesystem::path base = std::filesystem::temp_directory_path(missing);
        if (missing) base = "/tmp";
        std::string name = (base / (Prefix + "-XXXXXX")).string();
        if (mkdtemp(name.data())) path_ = name;
    }
    ~PrivateFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

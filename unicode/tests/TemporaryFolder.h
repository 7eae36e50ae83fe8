// A folder of the test's own below the user's temporary folder, removed with
// everything in it when the test ends.
#pragma once

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace test {

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = NativeFileName(GetTempFolder()) + "unicode-test-XXXXXX";
        native_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        if (!native_.empty()) std::filesystem::remove_all(native_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The folder as the program writes names, without a final separator.
    WideString Path() const { return UTF8Decode(native_); }
    const std::string& NativePath() const { return native_; }

private:
    std::string native_;
};

} // namespace test

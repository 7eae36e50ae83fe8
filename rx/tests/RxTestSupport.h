// What the Rx tests share: the folder their pictures for a person go to.
#pragma once

#include "platform/core/FileUtils.h"
#include "platform/vcl/tests/VisualTestSupport.h"

#include <filesystem>
#include <string>

// build/screenshots/<Name>, the folder made when missing.
inline std::string ScreenshotPath(const std::string& Name) {
    const std::filesystem::path folder = std::filesystem::path(ProgramFolder()).parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    return (folder / Name).string();
}

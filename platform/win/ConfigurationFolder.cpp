// Where the per-user settings live, found the way the desktop's own
// programs find theirs.
#include "platform/win/ConfigurationFolder.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t PrivateFolderMode = 0700;

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* entry = getpwuid(geteuid());
    return entry ? entry->pw_dir : "/tmp";
}

} // namespace

std::string UserConfigurationFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string base = xdg && *xdg == '/' ? std::string(xdg) : homeFolder() + "/.config";
    return base + "/quorvane";
}

bool CreatePrivateFolders(const std::filesystem::path& folder) {
    std::error_code ignored;
    if (folder.empty() || std::filesystem::is_directory(folder, ignored)) return true;
    if (!CreatePrivateFolders(folder.parent_path())) return false;
    return ::mkdir(folder.c_str(), PrivateFolderMode) == 0 || errno == EEXIST;
}

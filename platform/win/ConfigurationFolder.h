// The user's configuration folder, where the registry and the profile keep
// the settings that Windows keeps per user, and the private folders made for them.
#pragma once

#include <filesystem>
#include <string>

// "quorvane" in $XDG_CONFIG_HOME, or in ~/.config when that is not set.
std::string UserConfigurationFolder();

// Creates the missing folders of `folder`, readable by the user alone; false
// with errno set when one cannot be made.
bool CreatePrivateFolders(const std::filesystem::path& folder);

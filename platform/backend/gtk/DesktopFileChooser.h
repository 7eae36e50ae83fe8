// The desktop's file chooser for the gtk backend's open and save dialogs:
// filters (matched without regard to case, as the program's patterns
// expect), a starting folder and name, the default extension added to a
// name typed without one, confirmation before a save replaces a file, a list
// of earlier names and a picture preview.
// Plain types only (see DesktopSession.h); call on the desktop thread.
#pragma once

#include "platform/backend/gtk/DesktopWindow.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct DesktopFileFilter {
    std::string name;
    // Shell patterns such as "*.txt"; "*.*" stands for every file.
    std::vector<std::string> patterns;
};

struct DesktopFileQuestion {
    bool save = false;
    // A folder is chosen instead of files.
    bool chooseFolder = false;
    DesktopWindow* owner = nullptr;
    // Empty: the chooser's own title.
    std::string title;
    std::vector<DesktopFileFilter> filters;
    // 0-based.
    std::size_t filterIndex = 0;
    std::string folder;
    // A name, or a path whose folder is where the chooser starts.
    std::string fileName;
    // Without the dot.
    std::string defaultExtension;
    bool multiple = false;
    // Names offered in a drop-down list; choosing one selects it.
    std::vector<std::string> history;
    // A preview of the picture file selected.
    bool picturePreview = false;
    // Set: a Help button calls it and the chooser stays open.
    std::function<void()> help;
};

struct DesktopFileAnswer {
    std::vector<std::string> files;
    std::size_t filterIndex = 0;
};

// Nothing when the user cancelled.
std::optional<DesktopFileAnswer> AskDesktopForFiles(const DesktopFileQuestion& question);

// The main window for the tests of its handlers: the program's own settings
// file (taken in turns through a lock file, and read back as a map of
// "Section.Key" to value), a private temporary folder, and the language's
// texts back at their English start values around each test.
#pragma once

#include "ScratchFolder.h"

#include "app/LanguageFile.h"
#include "app/Main.h"
#include "app/Settings.h"
#include "app/TempFiles.h"
#include "platform/vcl/tests/VisualTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

class MainFormFixture : public VisualTest {
protected:
    ProgramFolderLock lock{SettingsFileName() + ".lock"};
    ScratchFolder scratch;
    std::string iniName = SettingsFileName();
    std::string tempDir;
    std::unique_ptr<TMainForm> form;

    void SetUp() override {
        VisualTest::SetUp();
        setenv("TMPDIR", scratch.Path().c_str(), 1);
        tempDir = TemporaryFolder();
        std::remove(iniName.c_str());
        ResetLanguageTexts();
        backend.SetIdleHandler([] { FAIL() << "the program waited for input"; });
    }
    void TearDown() override {
        form.reset();
        std::remove(iniName.c_str());
        ResetLanguageTexts();
        VisualTest::TearDown();
    }

    TMainForm& start(const std::string& Settings = {}) {
        if (!Settings.empty()) WriteFile(iniName, Settings);
        form.reset(NewForm<TMainForm>(nullptr));
        return *form;
    }
    // The window shown, so that its controls can take the focus and the mouse.
    TMainForm& show(const std::string& Settings = {}) {
        start(Settings.empty() ? "[Form]\nTop=0\nLeft=0\nWidth=1000\nHeight=740\n" : Settings);
        form->Show();
        HeadlessBackend::ProcessMessages();
        return *form;
    }
    // The page the program composed for the browser.
    std::string page() const { return ReadFile(tempDir + PreviewPageFile); }

    void restart() {
        form.reset();
        show(ReadFile(iniName));
    }

    std::map<std::string, std::string> settingsFile() const {
        std::map<std::string, std::string> values;
        std::istringstream lines(ReadFile(iniName));
        std::string line;
        std::string section;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.size() > 1 && line.front() == '[') {
                section = line.substr(1, line.size() - 2);
            } else if (const std::size_t equals = line.find('='); equals != std::string::npos) {
                values[section + "." + line.substr(0, equals)] = line.substr(equals + 1);
            }
        }
        return values;
    }
    // What changed in the settings file since Before: new and changed values.
    std::map<std::string, std::string> changedSince(const std::map<std::string, std::string>& Before) const {
        std::map<std::string, std::string> changed;
        for (const auto& [key, value] : settingsFile()) {
            const auto old = Before.find(key);
            if (old == Before.end() || old->second != value) changed[key] = value;
        }
        return changed;
    }

    // A click in the middle of a control, as the user gives it.
    void click(TControl* Control) {
        const TRect bounds = Control->BoundsRect();
        const POINT centre{(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2};
        backend.Click(Control->Parent()->Handle(), centre);
        HeadlessBackend::ProcessMessages();
    }
};

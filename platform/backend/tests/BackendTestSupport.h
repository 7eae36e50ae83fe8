// The headless backend installed once for the backend tests, and a fixture
// that leaves no window or idle handler behind.
#pragma once

#include "platform/backend/Backend.h"
#include "platform/backend/HeadlessBackend.h"
#include "platform/win/Caret.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>

inline HeadlessBackend& Headless() {
    static std::shared_ptr<HeadlessBackend> backend = [] {
        auto created = std::make_shared<HeadlessBackend>();
        InstallAsBackend(created);
        return created;
    }();
    return *backend;
}

inline BOOL destroyWindowsOfThread(HWND window, LPARAM) {
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) DestroyWindow(window);
    return TRUE;
}

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessBackend& backend = Headless();

    void TearDown() override {
        backend.SetIdleHandler(nullptr);
        DestroyCaret();
        EnumWindows(destroyWindowsOfThread, 0);
        HeadlessBackend::ProcessMessages();
        backend.UseSteppedTime(false);
    }
};

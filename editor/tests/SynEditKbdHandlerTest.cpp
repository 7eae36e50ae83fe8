#include "editor/SynEditKbdHandler.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

struct Plugin : TObject {
    Plugin(char name, std::string& log) : name(name), log(log) {}
    void KeyDown(TObject*, Word& key, TShiftState shift) {
        log += name;
        lastShift = shift;
        if (swallow) key = 0;
    }
    void KeyPress(TObject*, char& key) {
        log += name;
        key = static_cast<char>(key + 1);
    }
    void MouseDown(TObject*, TMouseButton, TShiftState, Integer x, Integer y) {
        log += name;
        log += std::to_string(x + y);
    }
    void Cursor(TObject*, const TBufferCoord& position, TCursor& cursor) {
        log += name;
        cursor = static_cast<TCursor>(cursor + position.Line);
    }
    void Fails(TObject*, char&) {
        log += name;
        throw EAbort("stop");
    }
    TKeyEvent keyDown() { return TKeyEvent(this, &Plugin::KeyDown); }
    TKeyPressEvent keyPress() { return TKeyPressEvent(this, &Plugin::KeyPress); }

    char name;
    std::string& log;
    bool swallow = false;
    TShiftState lastShift;
};

struct KbdHandlerTest : testing::Test {
    std::string log;
    TSynEditKbdHandler handler;
    Plugin first{'1', log}, second{'2', log}, third{'3', log};
};

} // namespace

TEST_F(KbdHandlerTest, KeyDownRunsNewestFirstUntilAHandlerSwallowsTheKey) {
    handler.AddKeyDownHandler(first.keyDown());
    handler.AddKeyDownHandler(second.keyDown());
    handler.AddKeyDownHandler(third.keyDown());
    Word key = VK_RETURN;
    handler.ExecuteKeyDown(nullptr, key, {ssCtrl});
    EXPECT_EQ(log, "321");
    EXPECT_EQ(first.lastShift, TShiftState{ssCtrl});

    log.clear();
    second.swallow = true;
    handler.ExecuteKeyDown(nullptr, key, {});
    EXPECT_EQ(log, "32");
    EXPECT_EQ(key, 0);
}

TEST_F(KbdHandlerTest, KeyPressPassesTheSameCharacterAlongAndStopsAtNul) {
    handler.AddKeyPressHandler(first.keyPress());
    handler.AddKeyPressHandler(second.keyPress());
    char key = 'a';
    handler.ExecuteKeyPress(nullptr, key);
    EXPECT_EQ(key, 'c');
    EXPECT_EQ(log, "21");

    log.clear();
    key = '\xFF'; // the newest handler turns it into NUL
    handler.ExecuteKeyPress(nullptr, key);
    EXPECT_EQ(log, "2");
}

TEST_F(KbdHandlerTest, RemovingADuplicateTakesOnlyTheLatestOne) {
    TMethodList<TKeyEvent> list;
    list.Add(first.keyDown());
    list.Add(second.keyDown());
    list.Add(first.keyDown());
    list.Remove(first.keyDown());
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetItem(0), first.keyDown());
    EXPECT_EQ(list.GetItem(1), second.keyDown());
    list.Remove(third.keyDown());
    EXPECT_EQ(list.GetCount(), 2);

    handler.AddKeyDownHandler(first.keyDown());
    handler.AddKeyDownHandler(first.keyDown());
    handler.RemoveKeyDownHandler(first.keyDown());
    Word key = 'A';
    handler.ExecuteKeyDown(nullptr, key, {});
    EXPECT_EQ(log, "1");
}

TEST_F(KbdHandlerTest, AKeyPressCausedByAHandlerDoesNotRunTheChainAgain) {
    struct Echo : TObject {
        TSynEditKbdHandler* handler;
        int calls = 0;
        void KeyPress(TObject* sender, char& key) {
            ++calls;
            char again = key;
            handler->ExecuteKeyPress(sender, again);
        }
    } echo;
    echo.handler = &handler;
    handler.AddKeyPressHandler(TKeyPressEvent(&echo, &Echo::KeyPress));
    char key = 'x';
    handler.ExecuteKeyPress(nullptr, key);
    EXPECT_EQ(echo.calls, 1);
    handler.ExecuteKeyPress(nullptr, key);
    EXPECT_EQ(echo.calls, 2);
}

TEST_F(KbdHandlerTest, AFailingHandlerLeavesTheChainUsable) {
    handler.AddKeyPressHandler(first.keyPress());
    handler.AddKeyPressHandler(TKeyPressEvent(&second, &Plugin::Fails));
    char key = 'a';
    EXPECT_THROW(handler.ExecuteKeyPress(nullptr, key), EAbort);
    EXPECT_THROW(handler.ExecuteKeyPress(nullptr, key), EAbort);
    EXPECT_EQ(log, "22");
}

TEST_F(KbdHandlerTest, MouseChainsCallEveryHandler) {
    handler.AddMouseDownHandler(TMouseEvent(&first, &Plugin::MouseDown));
    handler.AddMouseDownHandler(TMouseEvent(&second, &Plugin::MouseDown));
    handler.ExecuteMouseDown(nullptr, mbLeft, {ssLeft}, 3, 4);
    EXPECT_EQ(log, "2717");
    handler.ExecuteMouseUp(nullptr, mbLeft, {}, 0, 0); // an empty chain
    EXPECT_EQ(log, "2717");

    log.clear();
    handler.AddMouseCursorHandler(TMouseCursorEvent(&first, &Plugin::Cursor));
    handler.AddMouseCursorHandler(TMouseCursorEvent(&second, &Plugin::Cursor));
    TCursor cursor = crDefault;
    handler.ExecuteMouseCursor(nullptr, BufferCoord(1, 5), cursor);
    EXPECT_EQ(cursor, 10);
    EXPECT_EQ(log, "21");
    handler.RemoveMouseCursorHandler(TMouseCursorEvent(&second, &Plugin::Cursor));
    handler.ExecuteMouseCursor(nullptr, BufferCoord(1, 5), cursor);
    EXPECT_EQ(cursor, 15);
}

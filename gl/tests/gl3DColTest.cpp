// The 3D colour sets: derived colours, the one global set and its lifetime.
#include "gl/gl3DCol.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ThreeDColors, AutomaticColoursComeFromTheBaseColour) {
    Tgl3DLocalColors colors(nullptr);
    colors.SetDkShadow(RGB(1, 2, 3));
    colors.CreateAuto3DColors(RGB(30, 100, 240));
    EXPECT_EQ(colors.Shadow(), RGB(0, 40, 180));
    EXPECT_EQ(colors.Highlight(), RGB(90, 160, 255));
    EXPECT_EQ(colors.DkShadow(), RGB(1, 2, 3));
    colors.SetDefaults();
    EXPECT_EQ(colors.Shadow(), clBtnShadow);
}

TEST(ThreeDColors, TheGlobalSetRefusesASecondSetBesideIt) {
    TComponent owner(nullptr);
    auto* global = new Tgl3DColors(&owner);
    EXPECT_EQ(glGlobalData.GlobalColors, global);
    EXPECT_THROW(new Tgl3DLocalColors(&owner), EComponentError);
    try {
        new Tgl3DLocalColors(&owner);
    } catch (const EComponentError& error) {
        EXPECT_EQ(error.Message, "Cannot create more than one instance of Tgl3DLocalColors component");
    }
    // The refused set left nothing behind in the owner.
    EXPECT_EQ(owner.ComponentCount(), 1);
    Tgl3DLocalColors elsewhere(nullptr);
    EXPECT_EQ(glGlobalData.GlobalColors, global);
}

TEST(ThreeDColors, SetsDestroyedInAnyOrderLeaveNoFreedSetGlobal) {
    const int orders[][3] = {{0, 1, 2}, {2, 1, 0}, {1, 0, 2}, {1, 2, 0}};
    for (const auto& order : orders) {
        std::unique_ptr<Tgl3DLocalColors> sets[3];
        for (auto& set : sets)
            set = std::make_unique<Tgl3DLocalColors>(nullptr);
        sets[0]->MakeGlobal();
        sets[1]->MakeGlobal();
        sets[2]->MakeGlobal();
        EXPECT_EQ(glGlobalData.GlobalColors, sets[2].get());
        // Destroying any set clears the global one, even another.
        sets[order[0]].reset();
        EXPECT_EQ(glGlobalData.GlobalColors, nullptr);
        for (auto& set : sets)
            if (set) set->MakeGlobal();
        sets[order[1]].reset();
        // What the survivor remembered may be gone: it never becomes global again.
        sets[order[2]]->MakeLocal();
        Tgl3DLocalColors* global = glGlobalData.GlobalColors;
        EXPECT_TRUE(global == nullptr || global == sets[order[2]].get());
        sets[order[2]].reset();
        EXPECT_EQ(glGlobalData.GlobalColors, nullptr);
    }
}

} // namespace

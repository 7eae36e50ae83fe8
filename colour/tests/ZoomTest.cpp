#include "colour/Zoom.h"

#include <gtest/gtest.h>

namespace {

constexpr TSize Lens{150, 150};
constexpr TSize Screen1024{1024, 768};

struct SourceCase {
    TPoint pointer;
    Integer zoom;
    TRect expected;
};

TEST(MagnifierSourceRect, EnlargesAnAreaAroundThePointerAndStaysOnTheScreen) {
    const SourceCase cases[] = {
        {{500, 400}, 4, {491, 391, 509, 409}},   // 18 x 18 at z = 4
        {{500, 400}, 7, {495, 395, 505, 405}},   // 10 x 10 at z = 7
        {{500, 400}, 1, {463, 363, 537, 437}},   // 74 x 74 at z = 1
        {{0, 0}, 4, {0, 0, 18, 18}},             // top-left corner
        {{3, 400}, 4, {0, 391, 18, 409}},        // left edge
        {{500, 2}, 4, {491, 0, 509, 18}},        // top edge
        {{1023, 400}, 4, {1006, 391, 1024, 409}}, // right edge
        {{500, 767}, 1, {463, 694, 537, 768}},   // bottom edge
    };
    for (const SourceCase& c : cases)
        EXPECT_EQ(MagnifierSourceRect(c.pointer, c.zoom, Lens, Screen1024), c.expected)
            << c.pointer.x << "," << c.pointer.y << " z=" << c.zoom;
}

} // namespace

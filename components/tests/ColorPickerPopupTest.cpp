// The colour popup's layout, hit tests, selection and keyboard.
#include "components/tests/ColorPickerTestSupport.h"

namespace {

class ColorPopupLayout : public ColorPickerTest {};

TEST_F(ColorPopupLayout, WizardPopupIs164WideWithDefaultEntryAtTop) {
    const Integer h = GuiFontTextHeight();
    EXPECT_EQ(popup()->WindowRect().Width(), 164);
    EXPECT_EQ(popup()->DefaultTextRect(), (TRect{10, 4, 154, 4 + h + 10}));
}

} // namespace

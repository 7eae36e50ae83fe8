// Frames: controls read from the frame's own form resource, placed on forms
// by code and by the forms' resources, plainly or inline.
#include "VisualTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/vcl/Frames.h"
#include "platform/vcl/Resources.h"
#include "platform/vcl/StdCtrls.h"

namespace {

// The frame of the TTestFrame resource: a button that counts its clicks.
class TTestFrame : public TFrame {
public:
    using TFrame::TFrame;
    TButton* Go = nullptr;
    Integer clicks = 0;
    void GoClick(TObject*) { ++clicks; }
};

const TClass testFrameClass = DescribeClass<TTestFrame, TFrame>([](TClassBuilder<TTestFrame>& c) {
    c.Field("Go", &TTestFrame::Go);
    c.Method("GoClick", &TTestFrame::GoClick);
});

// A frame class without a resource of its own.
class TBareFrame : public TFrame {
public:
    using TFrame::TFrame;
};

const TClass bareFrameClass = DescribeClass<TBareFrame, TFrame>();

struct RegisterTestFrames {
    RegisterTestFrames() { RegisterClass(ClassOf<TTestFrame>()); }
} registerTestFrames;

using FramesTest = VisualTest;

TEST_F(FramesTest, TwoFramesOnAFormEachOwnTheirControls) {
    std::unique_ptr<TForm> form = plainForm();
    auto* first = NewFrame<TTestFrame>(form.get());
    auto* second = NewFrame<TTestFrame>(form.get());
    for (TTestFrame* frame : {first, second}) {
        frame->SetParent(form.get());
        ASSERT_NE(frame->Go, nullptr);
        EXPECT_EQ(frame->Go->Owner(), frame);
        EXPECT_EQ(frame->Go->Parent(), frame);
        EXPECT_EQ(frame->Width(), 200);
    }
    EXPECT_NE(first->Name(), second->Name()) << "the resource's name is made unique on the form";
    second->SetTop(100);
    form->Show();
    backend.Click(second->Go->Handle(), {5, 5});
    Application->ProcessMessages();
    EXPECT_EQ(first->clicks, 0);
    EXPECT_EQ(second->clicks, 1);
}

TEST_F(FramesTest, AFormResourceHoldsFramesAsObjectsAndInline) {
    TForm form(nullptr);
    ReadComponentText("object Host: TForm\n"
                      "  object Plain: TTestFrame\n    Top = 4\n  end\n"
                      "  inline Changed: TTestFrame\n    Top = 70\n"
                      "    inherited Go: TButton\n      Caption = 'Again'\n    end\n  end\nend\n",
                      &form);
    auto* plain = dynamic_cast<TTestFrame*>(form.FindComponent("Plain"));
    auto* changed = dynamic_cast<TTestFrame*>(form.FindComponent("Changed"));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(plain->Parent(), &form);
    EXPECT_EQ(changed->Top(), 70);
    EXPECT_EQ(plain->Go->Caption(), "Go");
    EXPECT_EQ(changed->Go->Caption(), "Again");
    EXPECT_EQ(changed->Go->Owner(), changed);
}

TEST_F(FramesTest, AFrameClassWithoutAResourceIsAnError) {
    TForm form(nullptr);
    EXPECT_THROW(NewFrame<TBareFrame>(&form), EResNotFound);
    auto* plain = NewFrame<TFrame>(&form);
    EXPECT_EQ(plain->Width(), 320);
    EXPECT_EQ(plain->ControlCount(), 0);
}

} // namespace

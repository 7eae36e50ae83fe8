// The Rx controls in a form resource: read with their published properties
// and written back with only what differs from the defaults.
#include "rx/RXSlider.h"
#include "rx/RXSpin.h"
#include "rx/RxCombos.h"
#include "rx/RxMenus.h"
#include "rx/ToolEdit.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/vcl/Filers.h"

namespace {

class TRxForm : public TForm {
public:
    using TForm::TForm;
    TComboEdit* ColorEdit = nullptr;
    TFilenameEdit* FileEdit = nullptr;
    TRxSpinEdit* IntEdit = nullptr;
    TColorComboBox* ColorBox = nullptr;
    TRxSlider* HueSlider = nullptr;
    TRxPopupMenu* TagMenu = nullptr;
    TMenuItem* TagItem = nullptr;
    int changes = 0;
    void Changed(TObject*) { ++changes; }
};

const TClass rxFormClass = DescribeClass<TRxForm, TForm>([](TClassBuilder<TRxForm>& c) {
    c.Field("ColorEdit", &TRxForm::ColorEdit);
    c.Field("FileEdit", &TRxForm::FileEdit);
    c.Field("IntEdit", &TRxForm::IntEdit);
    c.Field("ColorBox", &TRxForm::ColorBox);
    c.Field("HueSlider", &TRxForm::HueSlider);
    c.Field("TagMenu", &TRxForm::TagMenu);
    c.Field("TagItem", &TRxForm::TagItem);
    c.Method("Changed", &TRxForm::Changed);
});

const char* const formText = R"(object RxForm: TRxForm
  Left = 10
  Top = 10
  Width = 400
  Height = 300
  object ColorEdit: TComboEdit
    Left = 8
    Top = 8
    Width = 80
    Height = 21
    ButtonWidth = 12
    NumGlyphs = 1
    TabOrder = 0
    Text = '#FF0000'
    OnChange = Changed
  end
  object FileEdit: TFilenameEdit
    Left = 8
    Top = 40
    Width = 200
    Height = 21
    Filter = 'Pages|*.htm'
    DirectInput = False
    TabOrder = 1
  end
  object IntEdit: TRxSpinEdit
    Left = 8
    Top = 72
    Width = 80
    Height = 21
    TabOrder = 2
  end
  object ColorBox: TColorComboBox
    Left = 8
    Top = 104
    Width = 40
    Height = 22
    ColorValue = clRed
    DisplayNames = False
    TabOrder = 3
    OnChange = Changed
  end
  object HueSlider: TRxSlider
    Left = 8
    Top = 136
    Width = 200
    Height = 40
    Increment = 1
    MaxValue = 360
    TabOrder = 4
    Value = 120
  end
  object TagMenu: TRxPopupMenu
    AutoHotkeys = maManual
    Style = msOwnerDraw
    object TagItem: TMenuItem
      Caption = '<B></B>'
      OnClick = Changed
    end
  end
end
)";

class RxStreamingTest : public VisualTest {};

TEST_F(RxStreamingTest, AFormOfRxControlsIsReadAndWrittenBack) {
    TRxForm form(nullptr);
    ReadComponentText(formText, &form);
    ASSERT_NE(form.ColorEdit, nullptr);
    EXPECT_EQ(form.ColorEdit->Text(), "#FF0000");
    EXPECT_EQ(form.ColorEdit->ButtonWidth(), 12);
    EXPECT_EQ(form.FileEdit->Filter(), "Pages|*.htm");
    EXPECT_FALSE(form.FileEdit->DirectInput());
    EXPECT_EQ(form.FileEdit->GlyphKind(), gkDefault);
    EXPECT_EQ(form.IntEdit->Text(), "0");
    EXPECT_FALSE(form.ColorBox->DisplayNames());
    EXPECT_EQ(form.HueSlider->MaxValue(), 360);
    EXPECT_EQ(form.HueSlider->Value(), 120);
    EXPECT_EQ(form.HueSlider->Increment(), 1);
    EXPECT_TRUE(form.TagMenu->OwnerDraw());
    EXPECT_EQ(form.changes, 0) << "no change events while the form is read";
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(form.ColorBox->ColorValue(), clRed);
    EXPECT_EQ(form.changes, 1) << "the colour box's new window chooses its colour again";
    form.ColorEdit->SetText("#00FF00");
    EXPECT_EQ(form.changes, 2);

    const AnsiString written = WriteComponentText(&form);
    for (const char* expected : {"ButtonWidth = 12", "Filter = 'Pages|*.htm'", "DirectInput = False",
                                 "ColorValue = clRed", "MaxValue = 360", "Style = msOwnerDraw"})
        EXPECT_NE(written.find(expected), AnsiString::npos) << expected << "\n" << written;
    for (const char* absent : {"GlyphKind", "DialogTitle", "ClickKey", "EdgeSize", "UserImages"})
        EXPECT_EQ(written.find(absent), AnsiString::npos) << absent << "\n" << written;
}

TEST_F(RxStreamingTest, ASlidersOwnPicturesAreWrittenWithTheirMark) {
    TRxSlider slider(nullptr);
    TBitmap ruler;
    ruler.SetSize(10, 8);
    slider.SetImageHRuler(&ruler);
    const AnsiString written = WriteComponentText(&slider);
    EXPECT_NE(written.find("UserImages"), AnsiString::npos) << written;
    EXPECT_NE(written.find("ImageHRuler.Data"), AnsiString::npos) << written;
    EXPECT_EQ(written.find("ImageHThumb"), AnsiString::npos) << written;
    TRxSlider read(nullptr);
    ReadComponentText(written, &read);
    EXPECT_TRUE(read.UserImages().Contains(siHRuler));
    EXPECT_EQ(read.ImageHRuler()->Width(), 10);
}

} // namespace

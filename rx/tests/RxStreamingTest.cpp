// The Rx controls in a form resource: read with their published properties
// and written back with only what differs from the defaults.
#include "rx/RXCtrls.h"
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

class TButtonForm : public TForm {
public:
    using TForm::TForm;
    TRxSpeedButton* StepButton = nullptr;
    TRxPopupMenu* StepMenu = nullptr;
    TImageList* StepImages = nullptr;
    int entered = 0;
    void Entered(TObject*) { ++entered; }
};

const TClass buttonFormClass = DescribeClass<TButtonForm, TForm>([](TClassBuilder<TButtonForm>& c) {
    c.Field("StepButton", &TButtonForm::StepButton);
    c.Field("StepMenu", &TButtonForm::StepMenu);
    c.Field("StepImages", &TButtonForm::StepImages);
    c.Method("Entered", &TButtonForm::Entered);
});

// Every published property of the speed button away from its default, and
// the menu's own Cursor and Images.
const char* const buttonFormText = R"(object ButtonForm: TButtonForm
  Width = 300
  Height = 200
  object StepButton: TRxSpeedButton
    Left = 8
    Top = 8
    Width = 60
    Height = 30
    Alignment = taLeftJustify
    AllowAllUp = True
    AllowTimer = True
    GroupIndex = 3
    Down = True
    DropDownMenu = StepMenu
    MenuPosition = dmpRight
    Caption = 'Step'
    Flat = True
    GrayedInactive = False
    InitPause = 300
    Layout = blGlyphLeft
    Margin = 2
    MarkDropDown = False
    ModalResult = 1
    NumGlyphs = 2
    RepeatInterval = 50
    ShowHint = False
    Spacing = 3
    Style = bsNew
    Transparent = True
    WordWrap = True
    OnMouseEnter = Entered
  end
  object StepImages: TImageList
  end
  object StepMenu: TRxPopupMenu
    Cursor = crHandPoint
    Images = StepImages
  end
end
)";

TEST_F(RxStreamingTest, ASpeedButtonIsReadWithAllItsPropertiesAndWrittenBack) {
    ASSERT_NE(GetClass("TRxSpeedButton"), nullptr);
    TButtonForm form(nullptr);
    ReadComponentText(buttonFormText, &form);
    TRxSpeedButton* button = form.StepButton;
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Alignment(), taLeftJustify);
    EXPECT_TRUE(button->AllowAllUp());
    EXPECT_TRUE(button->AllowTimer());
    EXPECT_EQ(button->GroupIndex(), 3);
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->DropDownMenu(), form.StepMenu);
    EXPECT_EQ(button->MenuPosition(), dmpRight);
    EXPECT_EQ(button->Caption(), "Step");
    EXPECT_TRUE(button->Flat());
    EXPECT_FALSE(button->GrayedInactive());
    EXPECT_EQ(button->InitPause(), 300);
    EXPECT_EQ(button->Layout(), blGlyphLeft);
    EXPECT_EQ(button->Margin(), 2);
    EXPECT_FALSE(button->MarkDropDown());
    EXPECT_EQ(button->ModalResult(), 1);
    EXPECT_EQ(button->NumGlyphs(), 2);
    EXPECT_EQ(button->RepeatInterval(), 50);
    EXPECT_FALSE(button->ShowHint());
    EXPECT_EQ(button->Spacing(), 3);
    EXPECT_EQ(button->Style(), bsNew);
    EXPECT_TRUE(button->Transparent());
    EXPECT_TRUE(button->WordWrap());
    EXPECT_TRUE(button->OnMouseEnter);
    EXPECT_EQ(form.StepMenu->Cursor(), crHandPoint);
    EXPECT_EQ(form.StepMenu->Images(), form.StepImages);

    const AnsiString written = WriteComponentText(&form);
    for (const char* expected :
         {"AllowTimer = True", "InitPause = 300", "MenuPosition = dmpRight", "Style = bsNew",
          "WordWrap = True", "OnMouseEnter = Entered", "Cursor = crHandPoint", "Images = StepImages"})
        EXPECT_NE(written.find(expected), AnsiString::npos) << expected << "\n" << written;
    TRxSpeedButton plain(nullptr);
    const AnsiString defaults = WriteComponentText(&plain);
    for (const char* absent : {"Alignment", "GrayedInactive", "InitPause", "Layout", "Margin", "MarkDropDown",
                               "RepeatInterval", "ShowHint", "Spacing", "Style"})
        EXPECT_EQ(defaults.find(absent), AnsiString::npos) << absent << "\n" << defaults;
}

} // namespace

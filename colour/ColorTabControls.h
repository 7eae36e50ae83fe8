// The controls of the main window's colour page that the colour tools read
// and write. The main window holds them as published fields (it derives from
// TColorTabControls, and its form resource fills them by name); the colour
// tab's controller works on them through this one struct.
#pragma once

class TCheckBox;
class TComboEdit;
class TCppWebBrowser;
class TEdit;
class TglGroupBox;
class TImage;
class TLabel;
class TPanel;
class TPie;
class TRadioGroup;
class TRxSlider;
class TScrollBox;
class TShape;
class TTntCheckBox;
class TTntLabel;

// Every field as X(class, name), in the order of the form resource.
#define QUORVANE_COLOR_TAB_CONTROLS(X)                                                                       \
    X(TScrollBox, ColorScrollBox)                                                                            \
    X(TRxSlider, DegreeColorSlider)                                                                          \
    X(TEdit, DegreeEdit)                                                                                     \
    X(TRxSlider, SaturateSlider)                                                                             \
    X(TEdit, SaturatePerEdit)                                                                                \
    X(TRxSlider, BrightSlider)                                                                               \
    X(TEdit, BrightPerEdit)                                                                                  \
    X(TImage, OkColorImage)                                                                                  \
    X(TImage, ErrColorImage)                                                                                 \
    X(TTntLabel, ErColLabel)                                                                                 \
    X(TRxSlider, RSlider)                                                                                    \
    X(TRxSlider, GSlider)                                                                                    \
    X(TRxSlider, BSlider)                                                                                    \
    X(TLabel, RedBinLabel)                                                                                   \
    X(TLabel, GreenBinLabel)                                                                                 \
    X(TLabel, BlueBinLabel)                                                                                  \
    X(TShape, Shape3)                                                                                        \
    X(TEdit, SummColorBin)                                                                                   \
    X(TTntCheckBox, GreyCheckBox)                                                                            \
    X(TEdit, RedBinEdit)                                                                                     \
    X(TEdit, GreenBinEdit)                                                                                   \
    X(TEdit, BlueBinEdit)                                                                                    \
    X(TEdit, RedSmartEdit)                                                                                   \
    X(TEdit, GreenSmartEdit)                                                                                 \
    X(TEdit, BlueSmartEdit)                                                                                  \
    X(TEdit, RedSafeEdit)                                                                                    \
    X(TEdit, GreenSafeEdit)                                                                                  \
    X(TEdit, BlueSafeEdit)                                                                                   \
    X(TPanel, MainColorPanel)                                                                                \
    X(TPanel, SmartColorPanel)                                                                               \
    X(TPanel, SafeColorPanel)                                                                                \
    X(TComboEdit, MainColHexEdit)                                                                            \
    X(TComboEdit, SmartColHexEdit)                                                                           \
    X(TComboEdit, SafeColHexEdit)                                                                            \
    X(TRadioGroup, ColorBaseGroup)                                                                           \
    X(TPanel, ClPanel1)                                                                                      \
    X(TPanel, ClPanel2)                                                                                      \
    X(TPanel, ClPanel3)                                                                                      \
    X(TPanel, ClPanel4)                                                                                      \
    X(TPanel, ClPanel5)                                                                                      \
    X(TPanel, ClPanel6)                                                                                      \
    X(TPanel, ClPanel7)                                                                                      \
    X(TPanel, ClPanel8)                                                                                      \
    X(TPanel, ClPanel9)                                                                                      \
    X(TPanel, ClPanel10)                                                                                     \
    X(TPanel, ClPanel11)                                                                                     \
    X(TPanel, ClPanel12)                                                                                     \
    X(TPanel, ClPanel13)                                                                                     \
    X(TPanel, ClPanel14)                                                                                     \
    X(TPanel, ClPanel15)                                                                                     \
    X(TPanel, ClPanel16)                                                                                     \
    X(TPanel, ClPanel17)                                                                                     \
    X(TPanel, ClPanel18)                                                                                     \
    X(TPanel, ClPanel19)                                                                                     \
    X(TPanel, ClPanel20)                                                                                     \
    X(TPanel, ClPanel21)                                                                                     \
    X(TPanel, ClPanel22)                                                                                     \
    X(TPanel, ClPanel23)                                                                                     \
    X(TPanel, ClPanel24)                                                                                     \
    X(TPanel, SourceColorPanel)                                                                              \
    X(TRadioGroup, ColorShemeRdoGr)                                                                          \
    X(TPanel, PrePanel0)                                                                                     \
    X(TPanel, PrePanel1)                                                                                     \
    X(TPanel, PrePanel2)                                                                                     \
    X(TPanel, PrePanel3)                                                                                     \
    X(TPanel, PrePanel4)                                                                                     \
    X(TPanel, PrePanel5)                                                                                     \
    X(TPanel, PrePanel6)                                                                                     \
    X(TComboEdit, OffsetEdit)                                                                                \
    X(TPie, Pie1)                                                                                            \
    X(TRxSlider, OffsetSlider)                                                                               \
    X(TRadioGroup, ColPalRdoGr)                                                                              \
    X(TCheckBox, ZoomAutoChkBox)                                                                             \
    X(TComboEdit, ZoomColorEd)                                                                               \
    X(TRxSlider, ZoomSlider)                                                                                 \
    X(TEdit, ZoRedBinEdit)                                                                                   \
    X(TEdit, ZoGreenBinEdit)                                                                                 \
    X(TEdit, ZoBlueBinEdit)                                                                                  \
    X(TComboEdit, ClipColorEdit)                                                                             \
    X(TPanel, Panel4)                                                                                        \
    X(TCppWebBrowser, ColorHelpWebBrowser)                                                                   \
    X(TImage, Image2)                                                                                        \
    X(TglGroupBox, Palette1GroupBox)                                                                         \
    X(TImage, Palette1Image)                                                                                 \
    X(TglGroupBox, Palette2GroupBox)                                                                         \
    X(TImage, Palette2Image)

struct TColorTabControls {
#define QUORVANE_DECLARE_COLOR_TAB_FIELD(Class, Name) Class* Name = nullptr;
    QUORVANE_COLOR_TAB_CONTROLS(QUORVANE_DECLARE_COLOR_TAB_FIELD)
#undef QUORVANE_DECLARE_COLOR_TAB_FIELD
};

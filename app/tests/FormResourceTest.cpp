// The program's four form resources as its own classes read them: every
// property value the windows are described with, one row a property, so
// that an edit of a resource that drops or changes one is caught. Values
// are compared as a form resource writes them ("clRed", "[fsBold]", a
// handler's or a component's name; a list's lines joined by "|").
#include "MainFormFixture.h"

#include "app/About.h"
#include "app/Splash.h"
#include "colour/Zoom.h"
#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/TypInfo.h"

#include <map>
#include <vector>

namespace {

struct PropertyRow {
    std::string form;
    // Empty for the window itself.
    std::string component;
    // Dotted through sub-objects ("Font.Color"); "Panels[2].Width" takes a collection's item.
    std::string property;
    std::string value;
};

// ---- Reading a property back as form text ---------------------------------------------------

AnsiString setText(const TTypeInfo* Type, Int64 Bits) {
    AnsiString text = "[";
    const std::vector<AnsiString>& names = Type->CompType->EnumNames;
    for (std::size_t element = 0; element < names.size(); ++element) {
        if (!(Bits & (Int64{1} << element))) continue;
        if (text.size() > 1) text += ", ";
        text += names[element];
    }
    return text + "]";
}

AnsiString integerText(const TTypeInfo* Type, Int64 Value) {
    AnsiString ident;
    if (TIntToIdent toIdent = FindIntToIdent(Type); toIdent && toIdent(static_cast<Integer>(Value), ident))
        return ident;
    return IntToStr(Value);
}

// A list's lines joined by "|".
AnsiString linesText(const TStrings* Lines) {
    AnsiString text;
    for (Integer i = 0; i < Lines->Count(); ++i)
        text += (i ? "|" : "") + Lines->Strings(i);
    return text;
}

AnsiString valueText(TComponent* Root, TObject* Object, const TPropInfo* Info) {
    const TTypeInfo* type = Info->PropType;
    switch (type->Kind) {
    case tkInteger:
    case tkInt64:
        return integerText(type, GetOrdProp(Object, Info));
    case tkEnumeration:
        return GetEnumName(type, static_cast<Integer>(GetOrdProp(Object, Info)));
    case tkSet:
        return setText(type, GetOrdProp(Object, Info));
    case tkFloat:
        return FloatToStr(GetFloatProp(Object, Info));
    case tkWString:
        return WideToAnsi(GetWideStrProp(Object, Info));
    case tkMethod:
        return ClassTypeOf(Root)->MethodName(GetMethodProp(Object, Info), type, Root);
    case tkClass: {
        TObject* value = GetObjectProp(Object, Info);
        if (const auto* lines = dynamic_cast<const TStrings*>(value)) return linesText(lines);
        if (auto* component = dynamic_cast<TComponent*>(value)) return component->Name();
        return value ? "(object)" : "nil";
    }
    default:
        return GetStrProp(Object, Info);
    }
}

const TPropInfo* propertyOf(TObject* Object, const AnsiString& Name) {
    const TPropInfo* info = GetPropInfo(Object, Name);
    if (!info) throw Exception("no published property " + Name);
    return info;
}

// "Panels[2]" gives the collection's item 2; a plain name the sub-object.
TObject* subObject(TObject* Object, const AnsiString& Step) {
    const std::size_t bracket = Step.find('[');
    TObject* value = GetObjectProp(Object, propertyOf(Object, Step.substr(0, bracket)));
    if (bracket == AnsiString::npos) return value;
    const Integer index = StrToInt(Step.substr(bracket + 1, Step.size() - bracket - 2));
    return static_cast<TCollection*>(value)->Items(index);
}

AnsiString propertyText(TComponent* Root, TObject* Object, const AnsiString& Path) {
    std::size_t start = 0;
    for (std::size_t dot; (dot = Path.find('.', start)) != AnsiString::npos; start = dot + 1)
        Object = subObject(Object, Path.substr(start, dot - start));
    const AnsiString name = Path.substr(start);
    // "Items.Strings": a list's lines, as a form resource keeps them.
    if (const auto* lines = dynamic_cast<const TStrings*>(Object); lines && name == "Strings")
        return linesText(lines);
    return valueText(Root, Object, propertyOf(Object, name));
}

// A menu puts an accelerator into each caption that has none as it is
// shown, so a menu item's caption is compared without its "&".
AnsiString comparable(TComponent* Component, const PropertyRow& Row, const AnsiString& Text) {
    return dynamic_cast<TMenuItem*>(Component) && Row.property == "Caption" ? StripHotkey(Text) : Text;
}

// ---- The described values -------------------------------------------------------------------

using Rows = std::vector<PropertyRow>;

void add(Rows& Table, const std::string& Form, const std::string& Component,
         std::initializer_list<std::pair<std::string, std::string>> Values) {
    for (const auto& [property, value] : Values)
        Table.push_back({Form, Component, property, value});
}

std::string number(Integer Value) {
    return std::to_string(Value);
}

void splashWindow(Rows& t) {
    add(t, "Splash", "",
        {{"BorderStyle", "bsNone"},
         {"ClientWidth", "451"},
         {"ClientHeight", "220"},
         {"Color", "clBlack"},
         {"FormStyle", "fsStayOnTop"},
         {"Position", "poDesktopCenter"},
         {"OnCreate", "FormCreate"},
         {"OnPaint", "FormPaint"}});
    struct Title {
        const char* name;
        const char* caption;
        const char* font;
        const char* colour;
        Integer left, top;
    };
    for (const Title& title : {Title{"Label14", "Marrowind, Inc.", "Times New Roman", "clNavy", 11, 15},
                               Title{"Label13", "Marrowind, Inc.", "Times New Roman", "clRed", 13, 17},
                               Title{"Label2", "Quorvane 2", "Arial", "clBlue", 8, 85},
                               Title{"Label3", "Quorvane 2", "Arial", "clYellow", 11, 87}})
        add(t, "Splash", title.name,
            {{"Caption", title.caption},
             {"Font.Name", title.font},
             {"Font.Height", "-48"},
             {"Font.Style", "[fsBold, fsItalic]"},
             {"Font.Color", title.colour},
             {"Transparent", "True"},
             {"Left", number(title.left)},
             {"Top", number(title.top)}});
    add(t, "Splash", "ProgressBar1",
        {{"Left", "0"},
         {"Top", "152"},
         {"Width", "451"},
         {"Height", "12"},
         {"Min", "0"},
         {"Max", "8"},
         {"Step", "8"},
         {"ShowHint", "False"}});
}

void aboutBox(Rows& t) {
    add(t, "About", "",
        {{"BorderStyle", "bsNone"},
         {"ClientWidth", "305"},
         {"ClientHeight", "326"},
         {"Color", "clBtnFace"},
         {"Position", "poMainFormCenter"},
         {"OnCreate", "AbtFormCreate"},
         {"OnPaint", "FormPaint"},
         {"OnClick", "FormClick"}});
    for (const auto& [name, colour, left, top] :
         {std::tuple{"Label14", "clNavy", 4, 14}, std::tuple{"Label13", "clRed", 6, 16}})
        add(t, "About", name,
            {{"Caption", "Marrowind, Inc."},
             {"Font.Name", "Times New Roman"},
             {"Font.Height", "-37"},
             {"Font.Style", "[fsBold]"},
             {"Font.Color", colour},
             {"Transparent", "True"},
             {"Left", number(left)},
             {"Top", number(top)}});
    add(t, "About", "Label15",
        {{"Caption", "Quorvane v 2.0.1"},
         {"Font.Color", "clAqua"},
         {"Font.Height", "-24"},
         {"Font.Style", "[fsBold]"},
         {"Left", "16"},
         {"Top", "112"}});
    add(t, "About", "SecretPanel1",
        {{"Left", "8"},
         {"Top", "202"},
         {"Width", "146"},
         {"Height", "19"},
         {"Color", "clBlack"},
         {"Font.Color", "clLime"},
         {"Font.Name", "Verdana"},
         {"Active", "True"},
         {"Cycled", "True"},
         {"Interval", "50"},
         {"ScrollDirection", "sdHorizontal"},
         {"Alignment", "taLeftJustify"},
         {"BevelOuter", "bvNone"},
         {"GlyphLayout", "glGlyphBottom"}});
    add(t, "About", "HyperLink",
        {{"Left", "157"},
         {"Top", "205"},
         {"Font.Color", "clBlue"},
         {"Font.Style", "[fsBold, fsUnderline]"},
         {"Cursor", "crHandPoint"},
         {"OnClick", "HyperLinkClick"}});
    add(t, "About", "Bevel1", {{"Left", "8"}, {"Top", "224"}, {"Width", "293"}, {"Shape", "bsTopLine"}});
    const std::pair<const char*, const char*> captions[] = {
        {"Label9", "Operating System:"},
        {"Label10", "OS Version:"},
        {"Label11", "OS Build #:"},
        {"Label12", "System Version Info:"},
        {"Label7", "Physical Memory Available to Windows:"},
        {"Label8", "Memory in Use:"}};
    constexpr Integer firstLine = 232;
    constexpr Integer lineStep = 16;
    for (Integer line = 0; line < 6; ++line) {
        const std::string top = number(firstLine + line * lineStep);
        add(t, "About", captions[line].first, {{"Caption", captions[line].second}, {"Top", top}});
        // Their "..." gives way to the system's figures as the box is made.
        add(t, "About", "Label" + number(line + 1), {{"Left", "208"}, {"Top", top}});
    }
}

void magnifierWindow(Rows& t) {
    add(t, "Zoom", "",
        {{"BorderStyle", "bsNone"},
         {"ClientWidth", "150"},
         {"ClientHeight", "177"},
         {"Color", "clBtnFace"},
         {"FormStyle", "fsStayOnTop"},
         {"OnCreate", "FormCreate"},
         {"OnActivate", "FormActivate"},
         {"OnMouseDown", "FormMouseDown"},
         {"OnDblClick", "FormDblClick"},
         {"OnClick", "FormClick"},
         {"OnDestroy", "FormDestroy"}});
    add(t, "Zoom", "Image1",
        {{"Left", "0"}, {"Top", "0"}, {"Width", "150"}, {"Height", "150"}, {"Visible", "False"}});
    add(t, "Zoom", "Timer1", {{"Interval", "25"}, {"Enabled", "True"}, {"OnTimer", "Timer1Timer"}});
    add(t, "Zoom", "Shape1",
        {{"Shape", "stCircle"}, {"Left", "0"}, {"Top", "150"}, {"Width", "25"}, {"Height", "25"}});
    add(t, "Zoom", "ZoomColorEdit",
        {{"Left", "28"},
         {"Top", "155"},
         {"Width", "59"},
         {"Height", "17"},
         {"BorderStyle", "bsNone"},
         {"Text", "#"}});
    add(t, "Zoom", "CaptureLabel",
        {{"Caption", "[Esc]"},
         {"Left", "93"},
         {"Top", "154"},
         {"Font.Color", "clRed"},
         {"Font.Style", "[fsBold]"},
         {"Font.Height", "-13"}});
}

void mainWindow(Rows& t) {
    add(t, "Main", "",
        {{"Caption", "Quorvane v2.0"},
         {"Constraints.MinWidth", "800"},
         {"Constraints.MinHeight", "550"},
         {"Menu", "MainMenu"},
         {"OnCreate", "FormCreate"},
         {"OnShow", "FormShow"},
         {"OnClose", "FormClose"},
         {"OnDestroy", "FormDestroy"},
         {"OnResize", "FormResize"},
         {"OnMouseMove", "HintMouseMove"}});
    for (Integer panel = 0; panel < 4; ++panel)
        add(t, "Main", "StatusBar", {{"Panels[" + number(panel) + "].Width", number(panel == 2 ? 200 : 50)}});
}

// The tool bar: each button's hint tag and handler.
void toolBar(Rows& t) {
    const std::tuple<const char*, Integer, const char*> buttons[] = {
        {"OpenButton", 1, "MenuOpen1Click"},
        {"ExportButton", 2, "MenuExport1Click"},
        {"PreviewButton", 3, "MenuPreviewClick"},
        {"SourceButton", 4, "MenuSource1Click"},
        {"HtmlButton", 5, "MenuSummary1Click"},
        {"SettButton", 6, "SettButtonClick"},
        {"InfoButton", 7, "MenuInfoPanel1Click"},
        {"WrapButton", 8, "WrapButtonClick"},
        {"HelpButton", 9, "MenuHelpClick"},
        {"HigLightBtn", 10, "HigLightBtnClick"},
        {"ViewDefBrowBtn", 11, "ViewDefBrowBtnClick"},
        {"OperaBtn", 12, "OperaBtnClick"},
        {"FireFoxBtn", 13, "FireFoxBtnClick"},
        {"GoBackButton", 14, "GoBackButtonClick"},
        {"GoForwardButton", 15, "GoForwardButtonClick"},
        {"ReloadPageButton", 16, "ReloadPage"},
        {"ReloadScriptButton", 17, "PageBrowse"},
        {"ColorButton", 19, "ColorButtonClick"},
        {"ZoomButton", 22, "ZoomButtonClick"}};
    add(t, "Main", "ToolBar1", {{"OnMouseMove", "HintMouseMove"}});
    for (const auto& [name, tag, handler] : buttons)
        add(t, "Main", name, {{"Tag", number(tag)}, {"OnClick", handler}, {"OnMouseMove", "HintMouseMove"}});
    for (const char* name : {"WrapButton", "HigLightBtn", "ZoomButton"})
        add(t, "Main", name, {{"Style", "tbsCheck"}});
    add(t, "Main", "ZoomButton", {{"AllowAllUp", "True"}});
}

void menus(Rows& t) {
    const std::tuple<const char*, const char*, const char*> items[] = {
        {"MenuFile", "&File", ""},
        {"MenuOpen", "&Open...", "MenuOpen1Click"},
        {"MenuExport", "Export ->", "MenuExport1Click"},
        {"MenuExit", "Exit", "CloseApplication"},
        {"MenuView", "View", ""},
        {"MenuSource", "Source code", "MenuSource1Click"},
        {"MenuSummary", "Summary HTML code", ""},
        {"MenuPreview", "Preview", "MenuPreviewClick"},
        {"MenuInfoPanel", "Description", "MenuInfoPanel1Click"},
        {"MenuSettings", "Settings", "SettButtonClick"},
        {"MenuColorChooser", "Color Chooser", "ColorButtonClick"},
        {"MenuHelp", "Help", ""},
        {"MenuContents", "&Contents", "MenuHelpClick"},
        {"MenuHomePage", "HomePage", "MenuHomePage1Click"},
        {"MenuAbout", "&About...", "MenuAbout1Click"}};
    for (const auto& [name, caption, handler] : items)
        add(t, "Main", name, {{"Caption", caption}, {"OnClick", handler}});
    add(t, "Main", "PopupMenu1", {{"OnPopup", "CopyToClpbrd"}});
    add(t, "Main", "RxPopupMenu1", {{"Style", "msOwnerDraw"}, {"AutoHotkeys", "maManual"}});
}

// The texts a language file replaces, as the form gives them in English.
void englishTexts(Rows& t) {
    const std::pair<const char*, const char*> captions[] = {
        {"LangBox", "Language"},
        {"HighlightBox", "Highlight"},
        {"ShowExportCheckBox", "Show exported HTML by IE"},
        {"AuthorLabel", "Created by:"},
        {"TabSheet1", "Preview"},
        {"TabSheet2", "Source code"},
        {"TabSheet3", "Summary HTML code"},
        {"ColorTabSheet", "Color Chooser"},
        {"TabSheet4", "Settings"},
        {"FilesLabel", "Files:"},
        {"DescriptLabel", "Description:"},
        {"DataBasesLabel", "JS DataBases"},
        {"SaturateLabel", "Saturation"},
        {"BrightLabel", "Brightness"},
        {"Palette1GroupBox", "Palette1"},
        {"Palette2GroupBox", "Palette2"},
        {"ColorPalGroup", "Color palette"},
        {"InputColorLabel", "Input Color"},
        {"ColorBaseGroup", "Base Color"},
        {"ClipbrdLabel", "Clipboard"},
        {"ZoomGroupBox", "Zoom"},
        {"ZoomAutoChkBox", "Auto capture"},
        {"ColorShemeRdoGr", "Color Scheme"},
        {"OffsetLabel", "Offset"},
        {"WizGroupBox", "Wizard"},
        {"ColPalRdoGr", "Output"},
        {"MainColorGrBox", "Main Color"},
        {"WizLabel", "There are no parameters for change!"},
        {"WizApplytBtn", "Apply"}};
    for (const auto& [name, caption] : captions)
        add(t, "Main", name, {{"Caption", caption}});
}

void scriptBrowserAndSettings(Rows& t) {
    add(t, "Main", "TypeComboBox", {{"OnSelect", "SelectScriptType"}});
    add(t, "Main", "TitleBox", {{"OnClick", "SelectTitleBox"}});
    add(t, "Main", "BrowserSplitter",
        {{"Align", "alLeft"},
         {"Width", "6"},
         {"Cursor", "crHSplit"},
         {"AutoSnap", "False"},
         {"MinSize", "1"},
         {"ResizeStyle", "rsUpdate"}});
    add(t, "Main", "PageControl1", {{"OnChange", "PageControlChange"}, {"OnMouseMove", "HintMouseMove"}});
    add(t, "Main", "SourcePageControl",
        {{"OnChange", "SourcePageControlChange"}, {"OnMouseMove", "HintMouseMove"}});
    for (const char* editor : {"HeadEdit", "BodyEdit", "Body_Edit"})
        add(t, "Main", editor,
            {{"Tag", "18"}, {"OnDblClick", "CopyToClpbrd"}, {"OnMouseMove", "HintMouseMove"}});
    add(t, "Main", "CppWebBrowser1",
        {{"OnProgressChange", "CppWebBrowser1ProgressChange"},
         {"OnStatusTextChange", "CppWebBrowser1StatusTextChange"},
         {"OnTitleChange", "CppWebBrowser1TitleChange"}});
    add(t, "Main", "Timer1", {{"Interval", "1000"}, {"OnTimer", "Timer1Timer"}});
    add(t, "Main", "SaveDialog1",
        {{"DefaultExt", "htm"},
         {"FileName", "temp"},
         {"Filter", "WebPage (*.htm,*.html)|*.htm;*.html"},
         {"Options", "[ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]"}});
    add(t, "Main", "OpenDialog",
        {{"DefaultExt", "quorvane"}, {"Filter", "Quorvane DataBase|*.quorvane;*.zelk"}});
    for (const auto& [name, text, handler] : {std::tuple{"OperaEdit", "Opera", "OperaEditChange"},
                                              std::tuple{"FireFoxEdit", "FireFox", "FireFoxEditChange"}})
        add(t, "Main", name,
            {{"Text", text},
             {"Filter", "Executable files (*.exe)|*.exe"},
             {"AcceptFiles", "True"},
             {"OnChange", handler}});
    add(t, "Main", "LangListBox", {{"Mask", "*.lng"}, {"OnChange", "SelectLang"}});
    add(t, "Main", "DBListBox", {{"Mask", "*.quorvane;*.zelk"}, {"OnDblClick", "DBListBoxSelect"}});
    for (const char* box :
         {"EventColorComboBox", "IdentColorComboBox", "KeyColorComboBox", "NonResColorComboBox",
          "NumberColorComboBox", "StringColorComboBox", "SymbolColorComboBox", "BackColorComboBox"})
        add(t, "Main", box, {{"OnChange", "ColorComboBoxChange"}});
}

const char* const collapsibleOptions =
    "[fgoCanCollapse, fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, "
    "fgoHideChildrenWhenCollapsed, fgoSaveChildFocus]";

void collapsibleBox(Rows& t, const char* Name) {
    add(t, "Main", Name,
        {{"Collapsed", "True"},
         {"Height", "16"},
         {"Options", collapsibleOptions},
         {"CaptionShift.X", "8"},
         {"CaptionShift.Y", "0"},
         {"Gradient.Active", "False"},
         {"CaptionGradient.Active", "False"}});
}

void wizard(Rows& t) {
    collapsibleBox(t, "WizGroupBox");
    add(t, "Main", "WizGroupBox",
        {{"Align", "alBottom"},
         {"Visible", "False"},
         {"Colors.Text", "clRed"},
         {"Colors.TextActive", "clRed"},
         {"OnCollapsed", "WizardPrevAction"}});
    add(t, "Main", "WizLabel", {{"Font.Color", "clRed"}, {"Font.Style", "[fsBold]"}});
    add(t, "Main", "WizApplytBtn", {{"OnClick", "WizardPrevAction"}});
    for (Integer row = 1; row <= 7; ++row) {
        const std::string n = number(row);
        add(t, "Main", "WizColorPanel" + n, {{"Width", "595"}, {"Align", "alTop"}});
        add(t, "Main", "WColorEdit" + n,
            {{"Left", "0"},
             {"Width", "65"},
             {"ButtonWidth", "10"},
             {"Text", "...."},
             {"OnButtonClick", "WColorEditButtonClick"}});
        add(t, "Main", "WColorBtn" + n,
            {{"Left", "70"},
             {"Width", "45"},
             {"Height", "21"},
             {"CustomText", "More Colors..."},
             {"DefaultText", "Default"},
             {"Flat", "True"},
             {"PopupSpacing", "8"},
             {"ShowSystemColors", "False"},
             {"SelectionColor", row == 1 ? "clBtnFace" : "clBlack"},
             {"OnChange", "WColorBtn" + n + "Change"}});
        add(t, "Main", "WColorLabel" + n, {{"Left", "120"}, {"Caption", "...."}});
    }
    for (Integer row = 1; row <= 6; ++row) {
        const std::string n = number(row);
        for (const char* panel : {"WizEditPanel", "WizIntPanel", "WizFilePanel"})
            add(t, "Main", panel + n, {{"Width", "595"}, {"Align", "alTop"}});
        add(t, "Main", "WTextEdit" + n, {{"Width", "300"}, {"Text", "...."}});
        add(t, "Main", "WTextLabel" + n, {{"Left", "306"}, {"Caption", "...."}});
        add(t, "Main", "WIntEdit" + n, {{"Width", "73"}});
        add(t, "Main", "WIntLabel" + n, {{"Left", "80"}, {"Caption", "...."}});
        add(t, "Main", "WFilenameEdit" + n, {{"Width", "300"}, {"Text", "...."}, {"DirectInput", "False"}});
        add(t, "Main", "WFileLabel" + n, {{"Left", "306"}, {"Caption", "...."}});
    }
    add(t, "Main", "WFilenameEdit1", {{"OnButtonClick", "WOldFile"}, {"OnChange", "WFilenameAction"}});
}

void colourSliders(Rows& t) {
    add(t, "Main", "DegreeColorSlider",
        {{"MinValue", "0"},
         {"MaxValue", "359"},
         {"Value", "30"},
         {"OnChange", "DegreeColorSliderChange"},
         {"OnMouseDown", "HSV_SliderMouseDown"}});
    for (const auto& [name, handler] : {std::pair{"SaturateSlider", "SaturateSliderChange"},
                                        std::pair{"BrightSlider", "BrightSliderChange"}})
        add(t, "Main", name,
            {{"MinValue", "0"},
             {"MaxValue", "255"},
             {"Value", "255"},
             {"OnChange", handler},
             {"OnMouseDown", "HSV_SliderMouseDown"}});
    for (const auto& [name, value] :
         {std::pair{"RSlider", "255"}, std::pair{"GSlider", "127"}, std::pair{"BSlider", "0"}})
        add(t, "Main", name,
            {{"Orientation", "soVertical"},
             {"MinValue", "0"},
             {"MaxValue", "255"},
             {"Value", value},
             {"OnChange", "RGBSliderChange"},
             {"OnMouseDown", "RGB_SliderMouseDown"}});
    add(t, "Main", "OffsetSlider",
        {{"MinValue", "1"},
         {"MaxValue", "60"},
         {"Value", "30"},
         {"Enabled", "False"},
         {"OnChange", "OffsetSliderChange"}});
    add(t, "Main", "ZoomSlider",
        {{"Orientation", "soVertical"}, {"MinValue", "1"}, {"MaxValue", "7"}, {"Value", "4"}});
}

void colourTexts(Rows& t) {
    add(t, "Main", "TntGroupBox1", {{"Caption", "HSV"}});
    add(t, "Main", "TntGroupBox2", {{"Caption", "RGB"}});
    add(t, "Main", "DegreeEdit", {{"ReadOnly", "True"}, {"Text", "000\xb0"}});
    for (const char* edit : {"SaturatePerEdit", "BrightPerEdit"})
        add(t, "Main", edit, {{"ReadOnly", "True"}, {"Text", "100%"}});
    add(t, "Main", "ErrColorImage", {{"Visible", "False"}});
    add(t, "Main", "ErColLabel", {{"Caption", "...."}});
    for (const char* label : {"RedBinLabel", "GreenBinLabel", "BlueBinLabel"})
        add(t, "Main", label, {{"Caption", "FF"}});
    add(t, "Main", "Shape3", {{"Shape", "stRoundRect"}});
    add(t, "Main", "SummColorBin",
        {{"ReadOnly", "True"}, {"Text", "#FFFFFF"}, {"OnChange", "SummColorBinChange"}});
    add(t, "Main", "GreyCheckBox", {{"Caption", "Grey"}, {"OnClick", "GreyCheckBoxClick"}});
    const char* const backgrounds[] = {"clRed", "clLime", "clBlue"};
    for (const char* variant : {"Bin", "Smart", "Safe"}) {
        const char* const channels[] = {"Red", "Green", "Blue"};
        for (Integer channel = 0; channel < 3; ++channel)
            add(t, "Main", std::string(channels[channel]) + variant + "Edit",
                {{"ReadOnly", "True"}, {"Text", "0"}, {"Color", backgrounds[channel]}});
    }
    for (const auto& [panel, caption] :
         {std::pair{"MainColorPanel", "Unsafe"}, std::pair{"SmartColorPanel", "Smart"},
          std::pair{"SafeColorPanel", "Safe"}})
        add(t, "Main", panel, {{"Caption", caption}});
    for (const char* edit : {"MainColHexEdit", "SmartColHexEdit", "SafeColHexEdit"})
        add(t, "Main", edit, {{"ReadOnly", "True"}, {"Text", "#FFFFFF"}});
    add(t, "Main", "ColorBaseGroup",
        {{"Items.Strings", "Unsafe|Smart|Safe"}, {"ItemIndex", "1"}, {"OnClick", "ColorBaseGroupClick"}});
    add(t, "Main", "ColorShemeRdoGr",
        {{"Items.Strings", "Achromatic |Monochromatic |Analogic|Complementary|Analogic&&Complement.|"
                           "Split Complementary|Double Complementary|Triadic"},
         {"ItemIndex", "3"},
         {"OnClick", "ColorSchemeChange"}});
    add(t, "Main", "ColPalRdoGr",
        {{"Items.Strings", "|||Safe"}, {"ItemIndex", "3"}, {"OnClick", "ColPalRdoGrClick"}});
    add(t, "Main", "OffsetEdit",
        {{"Text", "0"}, {"ReadOnly", "False"}, {"OnButtonClick", "OffsetEditClick"}});
    add(t, "Main", "Pie1", {{"Angles.StartAngle", "60"}, {"Angles.EndAngle", "120"}});
    add(t, "Main", "ColorTabSheet", {{"OnShow", "ColorTabSheetShow"}, {"OnHide", "ColorTabSheetHide"}});
}

// The scheme grid, the preview, the colour clipboard and the palettes.
void colourPanels(Rows& t) {
    constexpr Integer columns[] = {8, 56, 104, 152, 200, 248};
    for (Integer panel = 1; panel <= 24; ++panel)
        add(t, "Main", "ClPanel" + number(panel),
            {{"Left", number(columns[(panel - 1) % 6])},
             {"Width", "46"},
             {"Height", "20"},
             {"Caption", "#"},
             {"Tag", "20"},
             {"OnClick", "SelectColorPal"},
             {"OnMouseMove", "HintMouseMove"}});
    add(t, "Main", "SourceColorPanel",
        {{"Caption", "#"}, {"Tag", "20"}, {"OnClick", "SelectColorPal"}, {"OnMouseMove", "HintMouseMove"}});
    add(t, "Main", "PrePanel0", {{"Width", "132"}, {"Height", "123"}, {"OnClick", "SelectColorPal"}});
    const std::array<Integer, 4> previews[] = {{6, 6, 80, 24},  {94, 6, 30, 87},  {45, 93, 79, 24},
                                               {6, 30, 30, 87}, {45, 30, 41, 29}, {45, 65, 41, 28}};
    for (Integer panel = 1; panel <= 6; ++panel) {
        const std::array<Integer, 4>& bounds = previews[panel - 1];
        add(t, "Main", "PrePanel" + number(panel),
            {{"Left", number(bounds[0])},
             {"Top", number(bounds[1])},
             {"Width", number(bounds[2])},
             {"Height", number(bounds[3])},
             {"Tag", "20"},
             {"OnClick", "SelectColorPal"},
             {"OnMouseMove", "HintMouseMove"}});
    }
    add(t, "Main", "ClipColorEdit",
        {{"Tag", "20"}, {"OnButtonClick", "ClipColorEditButtonClick"}, {"OnMouseMove", "HintMouseMove"}});
    add(t, "Main", "ZoomColorEd", {{"OnButtonClick", "ZoomColorEdButtonClick"}});
    add(t, "Main", "ZoomAutoChkBox", {{"OnClick", "ZoomAutoChkBoxClick"}});
    for (const char* edit : {"ZoRedBinEdit", "ZoGreenBinEdit", "ZoBlueBinEdit"})
        add(t, "Main", edit, {{"Visible", "False"}, {"OnChange", "ZoomColorChange"}});
    for (const char* n : {"1", "2"}) {
        const std::string box = std::string("Palette") + n + "GroupBox";
        collapsibleBox(t, box.c_str());
        add(t, "Main", box,
            {{"Width", "368"}, {"OnCollapsed", box + "Collapsed"}, {"OnExpanded", box + "Expanded"}});
        add(t, "Main", std::string("Palette") + n + "Image",
            {{"AutoSize", "True"},
             {"Cursor", "crCross"},
             {"Tag", "21"},
             {"OnMouseDown", "PaletteImageMouseDown"},
             {"OnMouseMove", std::string("Palette") + n + "ImageGetPixColor"}});
    }
}

Rows describedProperties() {
    Rows table;
    splashWindow(table);
    aboutBox(table);
    magnifierWindow(table);
    mainWindow(table);
    toolBar(table);
    menus(table);
    englishTexts(table);
    scriptBrowserAndSettings(table);
    wizard(table);
    colourSliders(table);
    colourTexts(table);
    colourPanels(table);
    return table;
}

// The magnifier asks nothing of it while it is not shown.
class IdleZoomHost : public TZoomHost {
public:
    Integer ZoomFactor() override { return 1; }
    void ZoomColorPicked(TColor) override {}
    void ZoomTextPicked(const AnsiString&) override {}
    void ActivateMainWindow() override {}
};

class FormResourceTest : public MainFormFixture {};

TEST_F(FormResourceTest, EachWindowHoldsThePropertyValuesItIsDescribedWith) {
    start();
    std::unique_ptr<TSplashForm> splash(NewForm<TSplashForm>(nullptr));
    std::unique_ptr<TAboutForm> about(NewForm<TAboutForm>(nullptr));
    IdleZoomHost zoomHost;
    std::unique_ptr<TZoomForm> zoom(NewForm<TZoomForm>(nullptr, zoomHost));
    const std::map<std::string, TComponent*> windows = {
        {"Main", form.get()}, {"Splash", splash.get()}, {"About", about.get()}, {"Zoom", zoom.get()}};
    for (const PropertyRow& row : describedProperties()) {
        TComponent* window = windows.at(row.form);
        TComponent* component = row.component.empty() ? window : window->FindComponent(row.component);
        const std::string where = row.form + " " + row.component + "." + row.property;
        ASSERT_NE(component, nullptr) << where;
        EXPECT_EQ(comparable(component, row, propertyText(window, component, row.property)),
                  comparable(component, row, row.value))
            << where;
    }
}

} // namespace

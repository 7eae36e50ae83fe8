#include "app/Main.h"

#include "app/BareNames.h"
#include "app/PageComposition.h"
#include "app/Settings.h"
#include "app/TempFiles.h"
#include "components/ColorPickerButton.h"
#include "editor/SynEdit.h"
#include "gl/glGrBox.h"
#include "gl/glSplit.h"
#include "highlighters/SynHighlighterHtml.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/core/CodePages.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/Pie.h"
#include "platform/vcl/Registry.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/ScrollBoxes.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/WebBrowser.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Shell.h"
#include "rx/RXSlider.h"
#include "rx/RXSpin.h"
#include "rx/RxCombos.h"
#include "rx/RxMenus.h"
#include "rx/ToolEdit.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdCtrls.h"

AnsiString LangFile;
AnsiString DBName;
AnsiString NextDBName;
AnsiString ErrorText;
bool ShowExport = true;
bool InfoPanel = true;
bool Wrap = true;
AnsiString AppDir;
AnsiString TempDir;
TMainForm* MainForm = nullptr;

namespace {

constexpr const char* RegistryKey = "Software\\Marrowind\\Quorvane";
constexpr const char* DatabaseMask = "*.quorvane;*.zelk";
constexpr const char* LanguageMask = "*.lng";
constexpr const char* OkText = "OK";
constexpr const char* ToolImagesResource = "TOOLBUTTONS";
constexpr int ShowNormal = 1;

const char* const WelcomeText = "-= Quorvane 2 =-\r\n"
                                "Marrowind, Inc.\r\n"
                                "Our web site: http://www.example.com/\r\n"
                                "Visit us for new scripts and updates!";

AnsiString languageFolder() {
    return AppDir + "/Lang";
}

// Addresses a click in the author text may open: web and mail addresses
// only, "www." ones as http. Anything else gives an empty text.
AnsiString linkTarget(const AnsiString& Text) {
    const AnsiString lower = LowerCase(Text);
    for (const char* scheme : {"http://", "https://", "mailto:"})
        if (lower.starts_with(scheme) && lower.size() > std::char_traits<char>::length(scheme)) return Text;
    if (lower.starts_with("www.") && lower.size() > 4) return "http://" + Text;
    return {};
}

// The form's component classes that their own units leave unregistered, or
// whose units nothing else would link in.
void registerComponentClasses() {
    for (TClass component : {ClassOf<TSynJScriptSyn>(), ClassOf<TSynHTMLSyn>(), ClassOf<TColorPickerButton>(),
                             ClassOf<TScrollBox>(), ClassOf<TRxSpinEdit>(), ClassOf<TRxPopupMenu>(),
                             ClassOf<TTntMainMenu>(), ClassOf<TTntMenuItem>(),
                             ClassOf<TTntStatusBar>(), ClassOf<TTntLabel>(), ClassOf<TTntPanel>(),
                             ClassOf<TTntPageControl>(), ClassOf<TTntTabSheet>(), ClassOf<TTntCheckBox>(), ClassOf<TTntMemo>(),
                             ClassOf<TTntEdit>(), ClassOf<TTntButton>(), ClassOf<TTntGroupBox>(), ClassOf<TglSplitter>()})
        if (!GetClass(component->ClassName())) RegisterClass(component);
}

const TClass mainFormClass = DescribeClass<TMainForm, TForm>([](TClassBuilder<TMainForm>& c) {
    registerComponentClasses();
#define FIELD(name) c.Field(#name, &TMainForm::name)
    FIELD(MainMenu);
    FIELD(MenuFile);
    FIELD(MenuOpen);
    FIELD(MenuExport);
    FIELD(MenuExit);
    FIELD(MenuView);
    FIELD(MenuSource);
    FIELD(MenuSummary);
    FIELD(MenuPreview);
    FIELD(MenuInfoPanel);
    FIELD(MenuSettings);
    FIELD(MenuColorChooser);
    FIELD(MenuHelp);
    FIELD(MenuContents);
    FIELD(MenuHomePage);
    FIELD(MenuAbout);
    FIELD(ToolBar1);
    FIELD(ToolImages);
    FIELD(OpenButton);
    FIELD(ExportButton);
    FIELD(PreviewButton);
    FIELD(SourceButton);
    FIELD(HtmlButton);
    FIELD(SettButton);
    FIELD(InfoButton);
    FIELD(WrapButton);
    FIELD(HelpButton);
    FIELD(HigLightBtn);
    FIELD(ViewDefBrowBtn);
    FIELD(OperaBtn);
    FIELD(FireFoxBtn);
    FIELD(GoBackButton);
    FIELD(GoForwardButton);
    FIELD(ReloadPageButton);
    FIELD(ReloadScriptButton);
    FIELD(ColorButton);
    FIELD(ZoomButton);
    FIELD(Spacer4);
    FIELD(Spacer5);
    FIELD(Spacer6);
    FIELD(TypeComboBox);
    FIELD(TitleBox);
    FIELD(PageControl1);
    FIELD(TabSheet1);
    FIELD(TabSheet2);
    FIELD(TabSheet3);
    FIELD(ColorTabSheet);
    FIELD(TabSheet4);
    FIELD(CaptionPanel);
    FIELD(CppWebBrowser1);
    FIELD(BrowsStatusBar);
    FIELD(WizGroupBox);
    FIELD(WizLabel);
    FIELD(PrevWizPanel);
    FIELD(SourcePageControl);
    FIELD(HeadEdit);
    FIELD(BodyEdit);
    FIELD(Body_Edit);
    FIELD(SummaryEdit);
    FIELD(SettEdit);
    FIELD(EventColorComboBox);
    FIELD(IdentColorComboBox);
    FIELD(KeyColorComboBox);
    FIELD(NonResColorComboBox);
    FIELD(NumberColorComboBox);
    FIELD(StringColorComboBox);
    FIELD(SymbolColorComboBox);
    FIELD(BackColorComboBox);
    FIELD(LangListBox);
    FIELD(ShowExportCheckBox);
    FIELD(OperaEdit);
    FIELD(FireFoxEdit);
    FIELD(DBListBox);
    FIELD(Panel3);
    FIELD(InfoEdit);
    FIELD(RemarksEdit);
    FIELD(FilesMemo);
    FIELD(StatusBar);
    FIELD(TntMemo1);
    FIELD(StringGrid1);
    FIELD(TmpHeadEdit);
    FIELD(TmpBody_Edit);
    FIELD(TmpBodyEdit);
    FIELD(JScriptSyn);
    FIELD(SynHTMLSyn);
    FIELD(OpenDialog);
    FIELD(SaveDialog1);
    FIELD(ReplaceDialog1);
    FIELD(PopupMenu1);
    FIELD(RxPopupMenu1);
    FIELD(Timer1);
#undef FIELD
#define COLOUR_PAGE_FIELD(Class, Name) c.Field(#Name, static_cast<Class* TMainForm::*>(&TMainForm::Name));
    QUORVANE_COLOR_TAB_CONTROLS(COLOUR_PAGE_FIELD)
#undef COLOUR_PAGE_FIELD
    c.Method("FormCreate", &TMainForm::FormCreate);
    c.Method("FormShow", &TMainForm::FormShow);
    c.Method("FormClose", &TMainForm::FormClose);
    c.Method("FormDestroy", &TMainForm::FormDestroy);
    c.Method("CloseApplication", &TMainForm::CloseApplication);
    c.Method("SelectScriptType", &TMainForm::SelectScriptType);
    c.Method("SelectTitleBox", &TMainForm::SelectTitleBox);
    c.Method("MenuOpen1Click", &TMainForm::MenuOpen1Click);
    c.Method("DBListBoxSelect", &TMainForm::DBListBoxSelect);
    c.Method("PageBrowse", &TMainForm::PageBrowse);
    c.Method("MenuPreviewClick", &TMainForm::MenuPreviewClick);
    c.Method("PageControlChange", &TMainForm::PageControlChange);
    c.Method("GoBackButtonClick", &TMainForm::GoBackButtonClick);
    c.Method("GoForwardButtonClick", &TMainForm::GoForwardButtonClick);
    c.Method("ReloadPage", &TMainForm::ReloadPage);
    TMainForm::DescribeColourPage(c);
    TMainForm::DescribeLanguage(c);
    TMainForm::DescribeSettings(c);
    TMainForm::DescribeMenus(c);
    TMainForm::DescribeWizard(c);
    TMainForm::DescribeExport(c);
});

} // namespace

// ---- Construction and closing -------------------------------------------------------------

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
    LoadFormResource();
    loadToolImages();
    applySettings();
    prepareInfoEdit();
    placeStatusProgress();
    createColourPage();
}

TMainForm::~TMainForm() = default;

// Image lists keep no pictures in form resources here: the tool bar's come
// from their own bitmap, magenta standing for transparent.
void TMainForm::loadToolImages() {
    TBitmap strip;
    strip.LoadFromResourceName(nullptr, ToolImagesResource);
    ToolImages->AddMasked(&strip, clFuchsia);
}

void TMainForm::applySettings() {
    const TQuorvaneSettings settings = ReadSettings(TIniFile(SettingsFileName()));
    SetTop(settings.Top);
    SetLeft(settings.Left);
    SetHeight(settings.Height);
    SetWidth(settings.Width);
    LangFile = settings.LangFile;
    DBName = settings.LastDBase;
    OperaEdit->SetText(settings.Opera);
    FireFoxEdit->SetText(settings.FireFox);

    JScriptSyn->EventAttri()->SetForeground(settings.Event);
    JScriptSyn->IdentifierAttri()->SetForeground(settings.Identifier);
    SynHTMLSyn->IdentifierAttri()->SetForeground(settings.Identifier);
    JScriptSyn->KeyAttri()->SetForeground(settings.Key);
    SynHTMLSyn->KeyAttri()->SetForeground(settings.Key);
    JScriptSyn->NonReservedKeyAttri()->SetForeground(settings.NonReserved);
    JScriptSyn->NumberAttri()->SetForeground(settings.Number);
    JScriptSyn->StringAttri()->SetForeground(settings.String);
    JScriptSyn->SymbolAttri()->SetForeground(settings.Symbol);
    SynHTMLSyn->SymbolAttri()->SetForeground(settings.Symbol);
    for (TSynEdit* editor : {SummaryEdit, SettEdit, HeadEdit, BodyEdit, Body_Edit})
        editor->SetColor(settings.Back);
    EventColorComboBox->SetColorValue(settings.Event);
    IdentColorComboBox->SetColorValue(settings.Identifier);
    KeyColorComboBox->SetColorValue(settings.Key);
    NonResColorComboBox->SetColorValue(settings.NonReserved);
    NumberColorComboBox->SetColorValue(settings.Number);
    StringColorComboBox->SetColorValue(settings.String);
    SymbolColorComboBox->SetColorValue(settings.Symbol);
    BackColorComboBox->SetColorValue(settings.Back);

    ShowExport = settings.ShowExport;
    InfoPanel = settings.InfoPanel;
    Wrap = settings.Wrap;
    WrapButton->SetDown(Wrap);
    for (TSynEdit* editor : {SummaryEdit, SettEdit, HeadEdit, BodyEdit})
        editor->SetWordWrap(Wrap);
    HigLightBtn->SetDown(settings.Highlight);
    setHighlighter(HigLightBtn->Down());
}

void TMainForm::setHighlighter(bool JavaScript) {
    TSynCustomHighlighter* highlighter =
        JavaScript ? static_cast<TSynCustomHighlighter*>(JScriptSyn) : SynHTMLSyn;
    for (TSynEdit* editor : {HeadEdit, BodyEdit, SettEdit, SummaryEdit})
        editor->SetHighlighter(highlighter);
    HigLightBtn->SetImageIndex(JavaScript ? JavaScriptImage : HtmlImage);
}

void TMainForm::prepareInfoEdit() {
    const LRESULT mask = InfoEdit->Perform(EM_GETEVENTMASK, 0, 0);
    InfoEdit->Perform(EM_SETEVENTMASK, 0, mask | ENM_LINK);
    InfoEdit->Perform(EM_AUTOURLDETECT, TRUE, 0);
    InfoEdit->SetText(WelcomeText);
    // The link notification goes to the edit's parent, which hands it back
    // to the edit; it is caught there.
    infoEditWindowProc_ = InfoEdit->WindowProc;
    InfoEdit->WindowProc = TWndMethod(this, &TMainForm::InfoEditWndProc);
}

void TMainForm::placeStatusProgress() {
    StatusProgress = new TProgressBar(StatusBar);
    StatusProgress->SetParent(StatusBar);
    TStatusPanels* panels = StatusBar->Panels();
    StatusProgress->SetBounds(panels->Items(0)->Width() + panels->Items(1)->Width() + 2, 2,
                              panels->Items(2)->Width() - 2, StatusBar->Height() - 3);
    StatusProgress->SetVisible(false);
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
    DBName = AfterLastSeparator(DBName);
    saveClosingSettings();
    DelGarbage();
    ZoomButton->SetDown(false);
    animateClosing();
}

// A settings file that can't be written must not keep the window open: the
// user is told once why, and the window closes all the same.
void TMainForm::saveClosingSettings() {
    try {
        TIniFile ini(SettingsFileName());
        WriteClosingSettings(ini, BoundsRect(), LangFile, DBName);
    } catch (const Exception& failure) {
        // Taken first: the system's last error holds the reason only until the next call.
        const AnsiString text = SettingsNotSavedText(failure);
        Application->MessageBox(text.c_str(), Application->Title().c_str(), MB_OK | MB_ICONWARNING);
    }
}

void TMainForm::CloseApplication(TObject*) {
    Close();
}

// ---- Start-up and the database ------------------------------------------------------------

void TMainForm::FormCreate(TObject*) {
    AppDir = ProgramFolder();
    TempDir = TemporaryFolder();
    {
        TRegistry registry;
        if (registry.OpenKey(RegistryKey, true)) {
            registry.WriteString("AppDir", AppDir);
            registry.CloseKey();
        }
    }
    SetCurrentDir(AppDir);
    openDatabase(DBName);
    Categories = new TStringList;
    Categories->SetDuplicates(dupIgnore);
    Categories->SetSorted(true);
    AttachedFiles = new TStringList;
    WizardLines = new TStringList;
    WrapButton->SetImageIndex(WrapButton->Down() ? WrapOnImage : WrapOffImage);
    if (FileExists(TempDir + AttachedListFile)) {
        AttachedFiles->LoadFromFile(TempDir + AttachedListFile);
        DelGarbage();
    }
    GetTable();
    PageBrowse(this);
    applyStoredLanguage();
    LangListBox->SetMask(LanguageMask);
    // A program folder without language files simply offers none.
    if (DirectoryExists(languageFolder())) LangListBox->SetDirectory(languageFolder());
    SetCurrentDir(AppDir);
    ShowExportCheckBox->SetChecked(ShowExport);
    // Wired only now, so that the start-up state is not taken for the user's choice.
    ShowExportCheckBox->OnClick = TNotifyEvent(this, &TMainForm::ShowExportCheckBox1Click);
    MenuInfoPanel->SetChecked(InfoPanel);
    if (InfoPanel) {
        for (TControl* control : {static_cast<TControl*>(InfoEdit), static_cast<TControl*>(RemarksEdit),
                                  static_cast<TControl*>(FilesMemo)})
            control->SetVisible(true);
    } else {
        Panel3->SetHeight(Panel3->Height() + InfoStripGrowth);
        InfoButton->SetDown(false);
    }
    DBListBox->SetMask(DatabaseMask);
    DBListBox->SetDirectory(AppDir);
}

void TMainForm::openDatabase(const AnsiString& FileName) {
    if (std::optional<TScriptDatabase::Failure> failure = database_.Open(FileName)) showFailure(*failure);
}

void TMainForm::showFailure(const TScriptDatabase::Failure& Failure) {
    for (const AnsiString& text : Failure) {
        ErrorText = text;
        ErrorMess();
    }
}

void TMainForm::GetTable() {
    if (std::optional<TScriptDatabase::Failure> failure = database_.ReadTable(rows_)) showFailure(*failure);
    showRows();
    Categories->Clear();
    for (const AnsiString& category : CategoriesOf(rows_))
        Categories->Add(category);
    TypeComboBox->Items()->Clear();
    for (Integer i = 0; i < Categories->Count(); ++i)
        TypeComboBox->Items()->Add((*Categories)[i]);
    TypeComboBox->SetItemIndex(0);
    SelectScriptType(this);
}

void TMainForm::SelectScriptType(TObject*) {
    if (std::optional<TScriptDatabase::Failure> failure = database_.ReadCategory(TypeComboBox->Text(), rows_))
        showFailure(*failure);
    showRows();
    fillTitleBox();
}

// The list draws itself and its scroll bar once, after the last title, not after each.
void TMainForm::fillTitleBox() {
    TStrings* titles = TitleBox->Items();
    titles->BeginUpdate();
    try {
        titles->Clear();
        for (std::size_t row = 1; row < rows_.size(); ++row)
            titles->Add(ColumnText(rows_[row], scriptcolumn::Title));
    } catch (...) {
        titles->EndUpdate();
        throw;
    }
    titles->EndUpdate();
}

// The hidden grid shows the last query's result.
void TMainForm::showRows() {
    for (Integer row = 0; row < StringGrid1->RowCount(); ++row)
        for (Integer column = 0; column < StringGrid1->ColCount(); ++column)
            StringGrid1->SetCells(column, row, "");
    if (rows_.empty()) return;
    StringGrid1->SetColCount(static_cast<Integer>(rows_[0].size()));
    StringGrid1->SetRowCount(std::max<Integer>(static_cast<Integer>(rows_.size()), 2));
    for (std::size_t row = 0; row < rows_.size(); ++row)
        for (std::size_t column = 0; column < rows_[row].size(); ++column)
            StringGrid1->SetCells(static_cast<Integer>(column), static_cast<Integer>(row),
                                  rows_[row][column]);
}

void TMainForm::SelectTitleBox(TObject*) {
    MenuExport->SetEnabled(true);
    ExportButton->SetEnabled(true);
    BrowsStatusBar->SetVisible(true);
    WizGroupBox->SetVisible(true);
    FilesMemo->Lines()->Clear();
    DelGarbage();
    clearScript();
    const Integer index = TitleBox->ItemIndex();
    if (index >= 0 && static_cast<std::size_t>(index) + 1 < rows_.size()) showScript(index + 1);
    WizardAction(this);
    if (AttachedFiles->Count() > 0) {
        TStringList names;
        for (const AnsiString& name : CopyAttachedFiles(AppDir, TempDir, *AttachedFiles))
            names.Add(name);
        FilesMemo->Lines()->Assign(&names);
    }
    PageBrowse(this);
}

// Only what the editors show goes: with no title chosen the templates, wizard
// lines and attached files stay, so that Apply composes the last script again.
void TMainForm::clearScript() {
    for (TSynEdit* editor : {HeadEdit, Body_Edit, BodyEdit})
        editor->Clear();
    InfoEdit->Clear();
}

void TMainForm::showScript(Integer Row) {
    const std::vector<AnsiString>& record = rows_[Row];
    auto column = [&record](int Index) { return ColumnText(record, Index); };
    HeadEdit->SetText(column(scriptcolumn::Head));
    Body_Edit->SetText(column(scriptcolumn::BodyTag));
    BodyEdit->SetText(column(scriptcolumn::Body));
    InfoEdit->SetText(column(scriptcolumn::Author));
    TmpHeadEdit->SetText(HeadEdit->Text());
    TmpBody_Edit->SetText(Body_Edit->Text());
    TmpBodyEdit->SetText(BodyEdit->Text());
    RemarksEdit->SetText(column(scriptcolumn::Description));
    AttachedFiles->SetText(column(scriptcolumn::Files));
    WizardLines->SetText(column(scriptcolumn::Wizard));
}

void TMainForm::DelGarbage() {
    DeleteAttachedFiles(TempDir);
}

void TMainForm::MenuOpen1Click(TObject*) {
    OpenDialog->SetInitialDir(AppDir);
    if (!OpenDialog->Execute()) return;
    NextDBName = OpenDialog->FileName();
    OpenOtherDB();
    GetTable();
}

void TMainForm::DBListBoxSelect(TObject*) {
    if (DBListBox->ItemIndex() < 0) return;
    NextDBName = DBListBox->FileName();
    OpenOtherDB();
    GetTable();
}

void TMainForm::OpenOtherDB() {
    DBName = NextDBName;
    DelGarbage();
    TypeComboBox->Items()->Clear();
    TitleBox->Items()->Clear();
    if (std::optional<TScriptDatabase::Failure> failure = database_.Open(NextDBName)) {
        showFailure(*failure);
        return;
    }
    ErrorText = OkText;
    ErrorMess();
}

void TMainForm::ErrorMess() {
    for (TSynEdit* editor : {HeadEdit, Body_Edit, BodyEdit})
        editor->Clear();
    InfoEdit->Clear();
    RemarksEdit->Clear();
    FilesMemo->Clear();
    BodyEdit->SetText(ErrorPageBody(ErrorText));
    PageBrowse(this);
}

void TMainForm::FormDestroy(TObject*) {
    destroyColourPage();
    database_.Close();
    delete Categories;
    Categories = nullptr;
    delete AttachedFiles;
    AttachedFiles = nullptr;
    delete WizardLines;
    WizardLines = nullptr;
    if (FileExists(TempDir + PreviewPageFile)) DeleteFile(TempDir + PreviewPageFile);
}

// ---- Preview -------------------------------------------------------------------------------

void TMainForm::PageBrowse(TObject*) {
    SetCurrentDir(AppDir);
    const AnsiString page = TempDir + PreviewPageFile;
    {
        TFileStream file(page, fmCreate);
        const AnsiString text = PageText(ComposePage(HeadEdit->Text(), Body_Edit->Text(), BodyEdit->Text()));
        file.WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    }
    SummaryEdit->Lines()->LoadFromFile(page);
    CppWebBrowser1->Navigate(AnsiToWide(page), navNoReadFromCache);
    PageControl1->SetActivePageIndex(PreviewPage);
    for (TToolButton* button : {GoBackButton, GoForwardButton, ReloadPageButton, ReloadScriptButton})
        button->SetVisible(true);
    WrapButton->SetVisible(false);
    HigLightBtn->SetVisible(false);
}

void TMainForm::MenuPreviewClick(TObject* Sender) {
    if (WizardTabShown)
        WizardPrevAction(Sender);
    else
        PageBrowse(Sender);
}

void TMainForm::PageControlChange(TObject* Sender) {
    for (TToolButton* button :
         {ZoomButton, FireFoxBtn, OperaBtn, ViewDefBrowBtn, WrapButton, HigLightBtn, GoBackButton,
          GoForwardButton, ReloadPageButton, ReloadScriptButton, Spacer4, Spacer5, Spacer6})
        button->SetVisible(false);
    switch (PageControl1->ActivePageIndex()) {
    case PreviewPage:
        PageBrowse(Sender);
        for (TToolButton* button :
             {GoBackButton, GoForwardButton, ReloadPageButton, ReloadScriptButton, ViewDefBrowBtn, FireFoxBtn,
              OperaBtn, ZoomButton, Spacer4, Spacer5, Spacer6})
            button->SetVisible(true);
        break;
    case ColorPage:
        ZoomButton->SetVisible(true);
        break;
    default:
        WrapButton->SetVisible(true);
        HigLightBtn->SetVisible(true);
    }
}

void TMainForm::GoBackButtonClick(TObject*) {
    CppWebBrowser1->GoBack();
}

void TMainForm::GoForwardButtonClick(TObject*) {
    CppWebBrowser1->GoForward();
}

void TMainForm::ReloadPage(TObject*) {
    CppWebBrowser1->Refresh();
}

// ---- Links in the author text ---------------------------------------------------------------

void TMainForm::InfoEditWndProc(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
        if (header->code == EN_LINK) {
            const auto& link = *reinterpret_cast<const ENLINK*>(Message.LParam);
            if (link.msg == WM_LBUTTONDOWN) openLink(link);
        }
    }
    infoEditWindowProc_(Message);
}

void TMainForm::openLink(const ENLINK& Link) {
    CHARRANGE range = Link.chrg;
    InfoEdit->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const AnsiString target = linkTarget(InfoEdit->SelText());
    if (!target.empty()) ShellExecuteA(Handle(), "open", target.c_str(), nullptr, nullptr, ShowNormal);
}

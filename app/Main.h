// The program's main window: the script browser (categories, titles, the
// script's parts in editors and its notes), the preview, and the settings it
// keeps in "Quorvane.ini". Its controls come from the form resource; the
// constructor applies the settings, the creation handler opens the database
// and shows the first page.
#pragma once

#include "app/ScriptDatabase.h"
#include "colour/ColorTabControls.h"
#include "platform/vcl/Forms.h"

#include <memory>

class TColorComboBox;
class TComboEdit;
class TComboBox;
class TCppWebBrowser;
class TFilenameEdit;
class TFileListBox;
class TglGroupBox;
class TListBox;
class TMemo;
class TOpenDialog;
class TPopupMenu;
class TProgressBar;
class TReplaceDialog;
class TRxPopupMenu;
class TRichEdit;
class TSaveDialog;
class TStringGrid;
class TStringList;
class TSynEdit;
class TSynHTMLSyn;
class TSynJScriptSyn;
class TTntCheckBox;
class TTntLabel;
class TTntMainMenu;
class TTntMemo;
class TTntMenuItem;
class TTntPageControl;
class TTntPanel;
class TTntStatusBar;
class TTntTabSheet;
class TTimer;
class TToolBar;
class TToolButton;
class TImageList;
struct ENLINK;
struct TLanguageEntry;
struct TWizardDefinition;

// Program-wide state of the main window.
extern AnsiString LangFile;
extern AnsiString DBName;
extern AnsiString NextDBName;
extern AnsiString ErrorText;
extern bool ShowExport;
extern bool InfoPanel;
extern bool Wrap;
// The program's folder, no trailing separator.
extern AnsiString AppDir;
// The user's private temporary folder, with a trailing separator.
extern AnsiString TempDir;

// Tool images of the word-wrap and highlighter buttons, one per state.
inline constexpr Integer WrapOffImage = 20;
inline constexpr Integer WrapOnImage = 21;
inline constexpr Integer JavaScriptImage = 25;
inline constexpr Integer HtmlImage = 26;
// How much taller the information strip gets when its text boxes are hidden.
inline constexpr Integer InfoStripGrowth = 90;

// The colour page's controller with its link to the main window (MainColour.cpp).
struct TColourPage;
struct TColourPageDeleter {
    void operator()(TColourPage* Page) const;
};
class TColorTab;
template <typename T> class TClassBuilder;

// The colour page's controls are fields of the window too (TColorTabControls).
class TMainForm : public TForm, public TColorTabControls {
public:
    // Builds the window from its form resource and applies the settings file.
    explicit TMainForm(TComponent* AOwner);
    ~TMainForm() override;

    // ---- Menu ----
    TTntMainMenu* MainMenu = nullptr;
    TTntMenuItem* MenuFile = nullptr;
    TTntMenuItem* MenuOpen = nullptr;
    TTntMenuItem* MenuExport = nullptr;
    TTntMenuItem* MenuExit = nullptr;
    TTntMenuItem* MenuView = nullptr;
    TTntMenuItem* MenuSource = nullptr;
    TTntMenuItem* MenuSummary = nullptr;
    TTntMenuItem* MenuPreview = nullptr;
    TTntMenuItem* MenuInfoPanel = nullptr;
    TTntMenuItem* MenuSettings = nullptr;
    TTntMenuItem* MenuColorChooser = nullptr;
    TTntMenuItem* MenuHelp = nullptr;
    TTntMenuItem* MenuContents = nullptr;
    TTntMenuItem* MenuHomePage = nullptr;
    TTntMenuItem* MenuAbout = nullptr;

    // ---- Tool bar ----
    TToolBar* ToolBar1 = nullptr;
    TImageList* ToolImages = nullptr;
    TToolButton* OpenButton = nullptr;
    TToolButton* ExportButton = nullptr;
    TToolButton* PreviewButton = nullptr;
    TToolButton* SourceButton = nullptr;
    TToolButton* HtmlButton = nullptr;
    TToolButton* SettButton = nullptr;
    TToolButton* InfoButton = nullptr;
    TToolButton* WrapButton = nullptr;
    TToolButton* HelpButton = nullptr;
    TToolButton* HigLightBtn = nullptr;
    TToolButton* ViewDefBrowBtn = nullptr;
    TToolButton* OperaBtn = nullptr;
    TToolButton* FireFoxBtn = nullptr;
    TToolButton* GoBackButton = nullptr;
    TToolButton* GoForwardButton = nullptr;
    TToolButton* ReloadPageButton = nullptr;
    TToolButton* ReloadScriptButton = nullptr;
    TToolButton* ColorButton = nullptr;
    TToolButton* ZoomButton = nullptr;
    TToolButton* Spacer4 = nullptr;
    TToolButton* Spacer5 = nullptr;
    TToolButton* Spacer6 = nullptr;

    // ---- Script browser ----
    TComboBox* TypeComboBox = nullptr;
    TListBox* TitleBox = nullptr;
    TTntPageControl* PageControl1 = nullptr;
    TTntTabSheet* TabSheet1 = nullptr;
    TTntTabSheet* TabSheet2 = nullptr;
    TTntTabSheet* TabSheet3 = nullptr;
    TTntTabSheet* ColorTabSheet = nullptr;
    TTntTabSheet* TabSheet4 = nullptr;

    // ---- Preview page ----
    TTntPanel* CaptionPanel = nullptr;
    TCppWebBrowser* CppWebBrowser1 = nullptr;
    TTntStatusBar* BrowsStatusBar = nullptr;
    TglGroupBox* WizGroupBox = nullptr;
    TTntLabel* WizLabel = nullptr;
    TTntPanel* PrevWizPanel = nullptr;

    // ---- Source and summary pages ----
    TTntPageControl* SourcePageControl = nullptr;
    TSynEdit* HeadEdit = nullptr;
    TSynEdit* BodyEdit = nullptr;
    TSynEdit* Body_Edit = nullptr;
    TSynEdit* SummaryEdit = nullptr;

    // ---- Settings page ----
    TSynEdit* SettEdit = nullptr;
    TColorComboBox* EventColorComboBox = nullptr;
    TColorComboBox* IdentColorComboBox = nullptr;
    TColorComboBox* KeyColorComboBox = nullptr;
    TColorComboBox* NonResColorComboBox = nullptr;
    TColorComboBox* NumberColorComboBox = nullptr;
    TColorComboBox* StringColorComboBox = nullptr;
    TColorComboBox* SymbolColorComboBox = nullptr;
    TColorComboBox* BackColorComboBox = nullptr;
    TFileListBox* LangListBox = nullptr;
    TTntCheckBox* ShowExportCheckBox = nullptr;
    TFilenameEdit* OperaEdit = nullptr;
    TFilenameEdit* FireFoxEdit = nullptr;
    TFileListBox* DBListBox = nullptr;

    // ---- Script list, information strip and status ----
    // Panel3 holds the script list and the pages; the strip lies below it.
    TTntPanel* Panel3 = nullptr;
    TRichEdit* InfoEdit = nullptr;
    TMemo* RemarksEdit = nullptr;
    TMemo* FilesMemo = nullptr;
    TTntStatusBar* StatusBar = nullptr;

    // ---- Hidden helpers ----
    TTntMemo* TntMemo1 = nullptr;
    TStringGrid* StringGrid1 = nullptr;
    TRichEdit* TmpHeadEdit = nullptr;
    TRichEdit* TmpBody_Edit = nullptr;
    TRichEdit* TmpBodyEdit = nullptr;
    TSynJScriptSyn* JScriptSyn = nullptr;
    TSynHTMLSyn* SynHTMLSyn = nullptr;
    TOpenDialog* OpenDialog = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TReplaceDialog* ReplaceDialog1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    TRxPopupMenu* RxPopupMenu1 = nullptr;
    TTimer* Timer1 = nullptr;

    // Made by the constructor over the third status panel.
    TProgressBar* StatusProgress = nullptr;
    TStringList* Categories = nullptr;
    TStringList* AttachedFiles = nullptr;
    TStringList* WizardLines = nullptr;

    // ---- Window ----
    void FormCreate(TObject* Sender);
    // The caption flies out of the window's centre (MainAnimation.cpp).
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void CloseApplication(TObject* Sender);

    // ---- Script browser ----
    void GetTable();
    void SelectScriptType(TObject* Sender);
    void SelectTitleBox(TObject* Sender);
    void DelGarbage();
    void MenuOpen1Click(TObject* Sender);
    void DBListBoxSelect(TObject* Sender);
    void OpenOtherDB();
    void ErrorMess();

    // ---- Preview ----
    void PageBrowse(TObject* Sender);
    void MenuPreviewClick(TObject* Sender);
    void PageControlChange(TObject* Sender);
    void GoBackButtonClick(TObject* Sender);
    void GoForwardButtonClick(TObject* Sender);
    void ReloadPage(TObject* Sender);

    // Set while the source page's hidden wizard page is the active one.
    bool WizardTabShown = false;

    // Sees the author text's messages first: a click on a link there opens it.
    void InfoEditWndProc(TMessage& Message);

    // ---- Language and hints (MainLanguage.cpp) ----
    void SelectLang(TObject* Sender);
    // Applies the lines TntMemo1 holds, in order.
    void Translate(TObject* Sender);
    // The status bar's last panel shows the hint of the sender's Tag.
    void HintMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
    static void DescribeLanguage(TClassBuilder<TMainForm>& Builder);

    // ---- Editor and browser settings (MainSettings.cpp) ----
    // Each handler writes its own keys to the settings file at once.
    void ColorComboBoxChange(TObject* Sender);
    void WrapButtonClick(TObject* Sender);
    void HigLightBtnClick(TObject* Sender);
    void ShowExportCheckBox1Click(TObject* Sender);
    void MenuInfoPanel1Click(TObject* Sender);
    void ViewDefBrowBtnClick(TObject* Sender);
    void OperaBtnClick(TObject* Sender);
    void FireFoxBtnClick(TObject* Sender);
    void OperaEditChange(TObject* Sender);
    void FireFoxEditChange(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    void CppWebBrowser1ProgressChange(TObject* Sender, Integer Progress, Integer ProgressMax);
    void CppWebBrowser1StatusTextChange(TObject* Sender, const WideString& Text);
    void CppWebBrowser1TitleChange(TObject* Sender, const WideString& Text);
    static void DescribeSettings(TClassBuilder<TMainForm>& Builder);

    // ---- Menus, help and pages (MainMenus.cpp) ----
    // The pages of PageControl1, in the form's order.
    static constexpr Integer PreviewPage = 0;
    static constexpr Integer SourcePage = 1;
    static constexpr Integer SummaryPage = 2;
    static constexpr Integer ColorPage = 3;
    static constexpr Integer SettingsPage = 4;
    void MenuHelpClick(TObject* Sender);
    void MenuSource1Click(TObject* Sender);
    void MenuSummary1Click(TObject* Sender);
    void ColorButtonClick(TObject* Sender);
    void SettButtonClick(TObject* Sender);
    void MenuHomePage1Click(TObject* Sender);
    void MenuAbout1Click(TObject* Sender);
    static void DescribeMenus(TClassBuilder<TMainForm>& Builder);

    // ---- Parameter wizard (MainWizard.cpp) ----
    // Shows the rows the script's definition lines name and substitutes their defaults.
    void WizardAction(TObject* Sender);
    // Replaces the first WizFindText of each source editor by WizReplaceText.
    void ReplaceDialog1Replace(TObject* Sender);
    // Apply: the templates again, with the rows' current values.
    void WizardPrevAction(TObject* Sender);
    void WColorBtn1Change(TObject* Sender);
    void WColorBtn2Change(TObject* Sender);
    void WColorBtn3Change(TObject* Sender);
    void WColorBtn4Change(TObject* Sender);
    void WColorBtn5Change(TObject* Sender);
    void WColorBtn6Change(TObject* Sender);
    void WColorBtn7Change(TObject* Sender);
    void WColorEditButtonClick(TObject* Sender);
    void SourcePageControlChange(TObject* Sender);
    void WOldFile(TObject* Sender);
    void WFilenameAction(TObject* Sender);
    // A row's controls by kind and number ("WTextEdit" and 3 give WTextEdit3).
    TComponent* WizardControl(const AnsiString& Prefix, Integer Row) const;
    static void DescribeWizard(TClassBuilder<TMainForm>& Builder);
    // The placeholder being substituted, and its value.
    AnsiString WizFindText;
    AnsiString WizReplaceText;
    // The text of file row 1 when its button was pressed; kept across scripts.
    AnsiString WOldFileName;

    // ---- Clipboard copy, tags and export (MainExport.cpp) ----
    void CopyToClpbrd(TObject* Sender);
    void ShwMessage();
    void InsertTag(TObject* Sender);
    void MenuExport1Click(TObject* Sender);
    static void DescribeExport(TClassBuilder<TMainForm>& Builder);

    // ---- Colour page (MainColour.cpp) ----
    void RGB2HSV();
    void HSV2RGB();
    void RGB_SliderMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void HSV_SliderMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void ZoomAutoChkBoxClick(TObject* Sender);
    void DegreeColorSliderChange(TObject* Sender);
    void SaturateSliderChange(TObject* Sender);
    void BrightSliderChange(TObject* Sender);
    void RGBSliderChange(TObject* Sender);
    void SummColorBinChange(TObject* Sender);
    void ColorBaseGroupClick(TObject* Sender);
    void GreyCheckBoxClick(TObject* Sender);
    void ZoomColorChange(TObject* Sender);
    void ZoomColorEdButtonClick(TObject* Sender);
    void ColorCalculation();
    void ColorSchemeChange(TObject* Sender);
    void OffsetSliderChange(TObject* Sender);
    void OffsetEditClick(TObject* Sender);
    void ColorTabSheetShow(TObject* Sender);
    void ColorTabSheetHide(TObject* Sender);
    void FormResize(TObject* Sender);
    void ColorCalcAhroma();
    void ColorCalcMonochrom();
    void ColorCalcAhalog();
    void ColorCalcComplement();
    void ColorCalcAnaComp();
    void ColorCalcSplitComp();
    void ColorCalcDoubleComp();
    void ColorCalcTriadic();
    void ColorPanelChange();
    void SafePalettes();
    void ColPalRdoGrClick(TObject* Sender);
    void Palette1GroupBoxExpanded(TObject* Sender);
    void Palette2GroupBoxExpanded(TObject* Sender);
    void Palette1GroupBoxCollapsed(TObject* Sender);
    void Palette2GroupBoxCollapsed(TObject* Sender);
    void Palette1ImageGetPixColor(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
    void Palette2ImageGetPixColor(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
    void PaletteImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void SelectColorPal(TObject* Sender);
    void ClipColorEditButtonClick(TObject* Sender);
    void ZoomButtonClick(TObject* Sender);
    // The colour page's state and logic; null until the window is built.
    TColorTab* ColourTab() const;
    // Publishes the colour page's handlers to the form resource.
    static void DescribeColourPage(TClassBuilder<TMainForm>& Builder);

private:
    // The caption flies back into the window's centre (MainAnimation.cpp).
    void animateClosing();
    void saveClosingSettings();
    void loadToolImages();
    void applySettings();
    void prepareInfoEdit();
    void placeStatusProgress();
    void setHighlighter(bool JavaScript);
    void openDatabase(const AnsiString& FileName);
    void showFailure(const TScriptDatabase::Failure& Failure);
    void showRows();
    void fillTitleBox();
    void showScript(Integer Row);
    void clearScript();
    void openLink(const ENLINK& Link);

    // ---- Language and settings (MainLanguage.cpp, MainSettings.cpp, MainMenus.cpp) ----
    // Start-up: a language other than English is read and applied.
    void applyStoredLanguage();
    void loadLanguageFile();
    void translateEntry(const TLanguageEntry& Entry);
    void writeBrowserProgram(TFilenameEdit* Edit, const char* Key);
    void startBrowserProgram(TFilenameEdit* Edit);
    void showPage(Integer Page, TObject* Sender);

    void createColourPage();
    // Before the controls go, so that none of their last events reaches it.
    void destroyColourPage();

    // ---- Parameter wizard (MainWizard.cpp) ----
    void hideWizardRows();
    void stackWizardRows();
    void showWizardRow(const TWizardDefinition& Definition);
    void setWizardValue(const TWizardDefinition& Definition, const AnsiString& Value);
    AnsiString wizardValue(const TWizardDefinition& Definition) const;
    void substituteWizardLines(bool ShowRows);
    void colourPicked(Integer Row);
    void listChosenFile(const AnsiString& Name);
    // Set while file row 1 is given the bare name of its own choice.
    bool namingChosenFile_ = false;

    // ---- Clipboard copy, tags and export (MainExport.cpp) ----
    void exportAttachedFiles(const AnsiString& Folder);
    WideString pendingMessage_;

    TWndMethod infoEditWindowProc_;
    std::unique_ptr<TColourPage, TColourPageDeleter> colourPage_;
    TScriptDatabase database_;
    TScriptRows rows_;
};

extern TMainForm* MainForm;

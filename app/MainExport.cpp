// Taking a script out of the main window: a source part copied to the
// clipboard with a note on where it belongs, HTML tags inserted into the HEAD
// part from the tag menu, and the page exported with its attached files.
#include "app/Main.h"

#include "app/BareNames.h"
#include "app/LanguageFile.h"
#include "app/TempFiles.h"
#include "editor/SynEdit.h"
#include "platform/core/Classes.h"
#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "platform/vcl/WebBrowser.h"
#include "platform/win/MessageBox.h"

namespace {

constexpr UINT NoticeBoxStyle = MB_OK | MB_ICONINFORMATION;
constexpr const char* TwoLineFeeds = "\n\n";

void showNotice(const WideString& Text, const WideString& Caption) {
    MessageBoxW(nullptr, Text.c_str(), Caption.c_str(), NoticeBoxStyle);
}

} // namespace

// ---- Clipboard copy ------------------------------------------------------------------------

// The part of the focused source editor goes to the clipboard. The editor
// keeps its text as it is: a clipboard changed while the note was open
// must not replace it.
void TMainForm::CopyToClpbrd(TObject*) {
    const std::pair<TSynEdit*, const char*> parts[] = {{HeadEdit, " <HEAD>...</HEAD> "},
                                                       {Body_Edit, " <BODY ........ > "},
                                                       {BodyEdit, " <BODY>...</BODY> "}};
    for (const auto& [editor, partLabel] : parts) {
        if (!editor->Focused() || editor->Text().empty()) continue;
        pendingMessage_ = AnsiToWide(partLabel + WideToAnsi(MessCopyTxt2));
        editor->SelectAll();
        editor->CopyToClipboard();
        ShwMessage();
        editor->SetSelStart(editor->RowColToCharIndex(editor->BlockEnd()));
        TitleBox->SetFocus();
    }
}

void TMainForm::ShwMessage() {
    pendingMessage_ = MessCopyTxt1 + pendingMessage_;
    showNotice(pendingMessage_, MessCopyTxtCap);
    pendingMessage_.clear();
}

// ---- Tags ------------------------------------------------------------------------------------

void TMainForm::InsertTag(TObject* Sender) {
    Clipboard()->SetAsText(" " + static_cast<TMenuItem*>(Sender)->Caption() + " ");
    HeadEdit->PasteFromClipboard();
}

// ---- Export ----------------------------------------------------------------------------------

void TMainForm::MenuExport1Click(TObject*) {
    struct BackToProgramFolder {
        ~BackToProgramFolder() { SetCurrentDir(AppDir); }
    } backToProgramFolder;
    if (!SaveDialog1->Execute()) return;
    const AnsiString page = SaveDialog1->FileName();
    SummaryEdit->Lines()->SaveToFile(page);
    // A file chosen in the wizard is listed even when the script attaches none.
    if (AttachedFiles->Count() > 0 || FileExists(TempDir + AttachedListFile))
        exportAttachedFiles(ExtractFilePath(page));
    CppWebBrowser1->Navigate(AnsiToWide(page), navOpenInNewWindow);
}

// Copies the files "Att.lst" names, by their bare names only, from the
// temporary folder into Folder, and says which went where. Without the list
// the framework's file-open error reports it.
void TMainForm::exportAttachedFiles(const AnsiString& Folder) {
    TStringList list;
    list.LoadFromFile(TempDir + AttachedListFile);
    for (Integer i = 0; i < list.Count(); ++i) {
        const AnsiString name = BareName(list[i]);
        if (!name.empty()) CopyFile(TempDir + name, Folder + name, false); // a failed copy is not reported
    }
    showNotice(MessExport1 + AnsiToWide(TwoLineFeeds) + AnsiToWide(list.Text()) + AnsiToWide(TwoLineFeeds) +
                   MessExport2 + AnsiToWide(TwoLineFeeds) + AnsiToWide(Folder),
               MessExportCap);
}

void TMainForm::DescribeExport(TClassBuilder<TMainForm>& c) {
    c.Method("CopyToClpbrd", &TMainForm::CopyToClpbrd);
    c.Method("InsertTag", &TMainForm::InsertTag);
    c.Method("MenuExport1Click", &TMainForm::MenuExport1Click);
}

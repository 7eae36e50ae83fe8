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
#include "rx/RxMenus.h"

#include <vector>

namespace {

constexpr UINT NoticeBoxStyle = MB_OK | MB_ICONINFORMATION;
constexpr const char* TwoLineFeeds = "\n\n";

void showNotice(const WideString& Text, const WideString& Caption) {
    MessageBoxW(nullptr, Text.c_str(), Caption.c_str(), NoticeBoxStyle);
}

// ---- The tag menu ----

// An item of the tag menu: a leaf inserts its caption; an item with
// sub-items only opens them, unless it inserts too.
struct TagItem {
    AnsiString caption;
    bool inserts;
    std::vector<TagItem> items;
};

TagItem tag(const char* Caption, std::vector<TagItem> Items = {}) {
    return {Caption, true, std::move(Items)};
}

// An attribute with an empty quoted value: name="".
TagItem attribute(const char* Name, std::vector<TagItem> Items = {}) {
    return {AnsiString(Name) + "=\"\"", true, std::move(Items)};
}

TagItem group(const char* Caption, std::vector<TagItem> Items) {
    return {Caption, false, std::move(Items)};
}

TagItem heading(const char* Caption) {
    return group(Caption, {attribute("align"), attribute("title")});
}

TagItem tagMenu() {
    return group(
        "Tags",
        {group("A",
               {tag("<A></A>"),
                group("<A>------------->", {attribute("href"), attribute("name"), attribute("target"),
                                            group("target---->", {tag("_blank"), tag("_parent"),
                                                                  tag("_search"), tag("_self"), tag("_top")}),
                                            attribute("title")}),
                tag("<ABBR></ABBR>"), tag("<ACRONYM></ACRONYM>"), tag("<ADDRESS></ADDRESS>"),
                tag("<AREA></AREA>"),
                group("<AREA>---------->", {attribute("coords"), attribute("href"), tag("nohref"),
                                            attribute("shape", {tag("rect"), tag("circ"), tag("poly")})})}),
         group("B", {tag("<B></B>"), group("<B>------------->", {attribute("title")}), tag("<BIG></BIG>"),
                     group("<BIG>---------->", {attribute("title")}), tag("<BLOCKQUOTE></BLOCKQUOTE>"),
                     tag("<BR>"), tag("<BUTTON> </BUTTON>"),
                     group("<BUTTON>---->",
                           {tag("disabled"), tag("style"), attribute("title"), attribute("type")})}),
         group("C", {tag("<CENTER></CENTER>"), tag("<CITE></CITE>"),
                     group("<CITE>----------->", {attribute("title")}), tag("<CODE></CODE>"),
                     group("<CODE>----------->", {attribute("title")})}),
         group("D", {tag("<DD></DD>"), tag("<DFN></DFN>", {attribute("title")}),
                     tag("<DL></DL>", {attribute("title")}), tag("<DT></DT>", {attribute("title")})}),
         group("E", {tag("<EM></EM>")}),
         group("F", {tag("<FIELDSET></FIELDSET>"),
                     group("<FONT></FONT>", {attribute("size"), attribute("color")})}),
         group("H",
               {heading("<H1></H>"), heading("<H2></H2>"), heading("<H3></H3>"), heading("<H4></H4>"),
                heading("<H5></H5>"), heading("<H6></H6>"),
                tag("<HR>", {attribute("size"), attribute("width"), tag("noshade"), attribute("color")})}),
         group("I",
               {tag("<I></I>"), group("<IFRAME></IFRAME>",
                                      {attribute("frameborder"), attribute("height"), attribute("name"),
                                       attribute("scrolling"), attribute("src"), attribute("width")})})});
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

void TMainForm::buildTagMenu() {
    const TNotifyEvent insertTag(this, &TMainForm::InsertTag);
    std::function<void(TMenuItem*, const TagItem&)> add = [&](TMenuItem* Parent, const TagItem& Item) {
        auto* item = new TMenuItem(RxPopupMenu1);
        item->SetCaption(Item.caption);
        if (Item.inserts) item->OnClick = insertTag;
        Parent->Add(item);
        for (const TagItem& child : Item.items)
            add(item, child);
    };
    add(RxPopupMenu1->Items(), tagMenu());
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
    c.Method("MenuExport1Click", &TMainForm::MenuExport1Click);
}

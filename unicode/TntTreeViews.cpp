#include "unicode/TntTreeViews.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntSystem.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr const char* SInvalidLevel = "Invalid level (%d) for item \"%s\"";
constexpr WideChar LevelMark = u'\t';

// ---- The "Utf8Data" form ----

constexpr std::size_t LongestText = 255;
const std::string Utf8Mark = "\xEF\xBB\xBF";

// The mark and the UTF-8 form of Text, shortened a character at a time until it fits in 255 bytes.
std::string markedUtf8(const WideString& Text) {
    WideString text = Text.substr(0, LongestText);
    std::string bytes = Utf8Mark + UTF8Encode(text);
    while (bytes.size() > LongestText) {
        text.pop_back();
        bytes = Utf8Mark + UTF8Encode(text);
    }
    return bytes;
}

WideString textOfRecord(const std::string& Bytes) {
    if (Bytes.compare(0, Utf8Mark.size(), Utf8Mark) == 0) return UTF8Decode(Bytes.substr(Utf8Mark.size()));
    return AnsiToWide(Bytes);
}

// ---- Text form ----

// The leading tabs and blanks of a line: its level.
Integer levelOf(const WideString& Line, WideString& Text) {
    std::size_t start = 0;
    while (start < Line.size() && (Line[start] == LevelMark || Line[start] == u' '))
        ++start;
    Text = Line.substr(start);
    return static_cast<Integer>(start);
}

} // namespace

// ---- TTntTreeNode ----------------------------------------------------------------------------------

WideString TTntTreeNode::Text() {
    return GetSyncedWideString(text_, TTreeNode::Text());
}

void TTntTreeNode::SetText(const WideString& Value) {
    SetSyncedWideString(Value, text_, TTreeNode::Text(), TSetAnsiStrEvent(this, &TTntTreeNode::setAnsiText));
}

bool TTntTreeNode::IsEqual(TTntTreeNode* Node) {
    return Text() == Node->Text() && Data() == Node->Data();
}

void TTntTreeNode::Assign(TPersistent* Source) {
    TTreeNode::Assign(Source);
    if (auto* node = dynamic_cast<TTntTreeNode*>(Source); node && !Deleting()) SetText(node->Text());
}

// ---- TTntTreeNodes ---------------------------------------------------------------------------------

TTntTreeNode* TTntTreeNodes::AddNode(TTreeNode* Relative, const WideString& S, void* Ptr,
                                     TNodeAttachMode Mode) {
    auto* node = static_cast<TTntTreeNode*>(TTreeNodes::AddNode(Relative, AnsiString(), Ptr, Mode));
    node->SetText(S);
    return node;
}

TTntTreeNode* TTntTreeNodes::GetFirstNode() const {
    return static_cast<TTntTreeNode*>(TTreeNodes::GetFirstNode());
}

TTntTreeNode* TTntTreeNodes::Item(Integer Index) const {
    return static_cast<TTntTreeNode*>(TTreeNodes::Item(Index));
}

void TTntTreeNodes::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TTntTreeNodes*>(Source);
    if (!source) {
        TTreeNodes::Assign(Source);
        return;
    }
    TTntMemoryStream stream;
    source->WriteData(&stream);
    stream.SetPosition(0);
    ReadData(&stream);
}

void TTntTreeNodes::WriteData(TStream* Stream) {
    WriteRecords(Stream,
                 [](TTreeNode* Node) { return markedUtf8(static_cast<TTntTreeNode*>(Node)->Text()); });
}

// A text without the mark is ANSI, as the framework writes it.
void TTntTreeNodes::ReadData(TStream* Stream) {
    ReadRecords(Stream, [](TTreeNode* Node, const std::string& Bytes) {
        static_cast<TTntTreeNode*>(Node)->SetText(textOfRecord(Bytes));
    });
}

// Written when there is no ancestor and there are nodes, or when the ancestor's nodes differ.
bool TTntTreeNodes::dataToBeWritten(TFiler* Filer) {
    auto* ancestor = dynamic_cast<TTntTreeNodes*>(Filer->Ancestor());
    if (!ancestor) return Count() > 0;
    if (ancestor->Count() != Count()) return true;
    for (Integer i = 0; i < Count(); ++i)
        if (!Item(i)->IsEqual(ancestor->Item(i))) return true;
    return false;
}

void TTntTreeNodes::DefineProperties(TFiler* Filer) {
    TTreeNodes::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Utf8Data", TStreamProc(this, &TTntTreeNodes::ReadData),
                                TStreamProc(this, &TTntTreeNodes::WriteData), dataToBeWritten(Filer));
}

// ---- TTntCustomTreeView ------------------------------------------------------------------------------

TTntTreeNodes* TTntCustomTreeView::Items() const {
    return static_cast<TTntTreeNodes*>(TCustomTreeView::Items());
}

TTntTreeNode* TTntCustomTreeView::Selected() {
    return static_cast<TTntTreeNode*>(TCustomTreeView::Selected());
}

TTreeNode* TTntCustomTreeView::CreateNode() {
    return new TTntTreeNode(Items());
}

TTreeNodes* TTntCustomTreeView::CreateNodes() {
    return new TTntTreeNodes(this);
}

void TTntCustomTreeView::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WC_TREEVIEWW);
}

void TTntCustomTreeView::DefineProperties(TFiler* Filer) {
    TCustomTreeView::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

TTntTreeNode* TTntCustomTreeView::GetNodeFromItem(const TVITEMW& Item) {
    if (!Items()->GetFirstNode()) return nullptr;
    if (Item.mask & TVIF_PARAM) return reinterpret_cast<TTntTreeNode*>(Item.lParam);
    return static_cast<TTntTreeNode*>(Items()->GetNode(Item.hItem));
}

void TTntCustomTreeView::SaveToFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TTntCustomTreeView::SaveToStream(TStream* Stream) {
    TTntStringList lines;
    for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNext())
        lines.Add(WideString(static_cast<std::size_t>(node->Level()), LevelMark) +
                  static_cast<TTntTreeNode*>(node)->Text());
    lines.SaveToStream(Stream);
}

void TTntCustomTreeView::LoadFromFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// Relative to the node before: the same level makes a sibling, one deeper a
// child, a shallower one a sibling of the ancestor at that level.
void TTntCustomTreeView::LoadFromStream(TStream* Stream) {
    TTntStringList lines;
    lines.LoadFromStream(Stream);
    TTntTreeNodes* nodes = Items();
    nodes->BeginUpdate();
    try {
        nodes->Clear();
        TTreeNode* previous = nullptr;
        for (Integer i = 0; i < lines.Count(); ++i) {
            WideString text;
            const Integer level = levelOf(lines.Strings(i), text);
            if (!previous) {
                previous = nodes->AddChild(nullptr, text);
            } else if (level == previous->Level()) {
                previous = nodes->AddChild(previous->Parent(), text);
            } else if (level == previous->Level() + 1) {
                previous = nodes->AddChild(previous, text);
            } else if (level < previous->Level()) {
                TTreeNode* ancestor = previous->Parent();
                while (ancestor->Level() > level)
                    ancestor = ancestor->Parent();
                previous = nodes->AddChild(ancestor->Parent(), text);
            } else {
                throw ETreeViewError(Format(SInvalidLevel, {level, WideToAnsi(text)}));
            }
        }
    } catch (...) {
        nodes->EndUpdate();
        throw;
    }
    nodes->EndUpdate();
}

void TTntCustomTreeView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_HINTSHOW:
        ProcessCMHintShowMsg(Message);
        TCustomTreeView::Dispatch(Message);
        return;
    case CN_NOTIFY:
        cnNotify(Message);
        return;
    default:
        TCustomTreeView::Dispatch(Message);
    }
}

namespace {

// The UTF-16 notifications whose records the framework reads as its ANSI ones.
UINT ansiCodeOf(UINT Code) {
    switch (Code) {
    case TVN_DELETEITEMW:
        return TVN_DELETEITEMA;
    case TVN_BEGINDRAGW:
        return TVN_BEGINDRAGA;
    case TVN_ITEMEXPANDEDW:
        return TVN_ITEMEXPANDEDA;
    case TVN_ITEMEXPANDINGW:
        return TVN_ITEMEXPANDINGA;
    case TVN_SELCHANGINGW:
        return TVN_SELCHANGINGA;
    case TVN_SELCHANGEDW:
        return TVN_SELCHANGEDA;
    case TVN_BEGINLABELEDITW:
        return TVN_BEGINLABELEDITA;
    default:
        return Code;
    }
}

} // namespace

void TTntCustomTreeView::cnNotify(TMessage& Message) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    const UINT code = header->code;
    if (code == TVN_GETDISPINFOW) {
        getDispInfo(Message);
        return;
    }
    if (code == TVN_ENDLABELEDITW) {
        endLabelEdit(*reinterpret_cast<NMTVDISPINFOW*>(header));
        Message.Result = 0;
        return;
    }
    if (code == TVN_SETDISPINFOW) {
        auto& info = *reinterpret_cast<NMTVDISPINFOW*>(header);
        if (TTntTreeNode* node = GetNodeFromItem(info.item); node && (info.item.mask & TVIF_TEXT))
            node->SetText(TextOf(info.item.pszText));
        return;
    }
    header->code = ansiCodeOf(code);
    try {
        TCustomTreeView::Dispatch(Message);
    } catch (...) {
        header->code = code;
        throw;
    }
    header->code = code;
}

// The framework gives the images; the text comes wide, at most the buffer's size less one.
void TTntCustomTreeView::getDispInfo(TMessage& Message) {
    auto& info = *reinterpret_cast<NMTVDISPINFOW*>(Message.LParam);
    const UINT mask = info.item.mask;
    info.item.mask &= ~static_cast<UINT>(TVIF_TEXT);
    info.hdr.code = TVN_GETDISPINFOA;
    TCustomTreeView::Dispatch(Message);
    info.hdr.code = TVN_GETDISPINFOW;
    info.item.mask = mask;
    TTntTreeNode* node = GetNodeFromItem(info.item);
    if (node && (mask & TVIF_TEXT)) CopyText(node->Text(), info.item.pszText, info.item.cchTextMax);
}

// Without a text the edit was cancelled. The framework's ANSI OnEdited serves when no wide one is set.
void TTntCustomTreeView::endLabelEdit(const NMTVDISPINFOW& Info) {
    TTntTreeNode* node = GetNodeFromItem(Info.item);
    if (!node || !Info.item.pszText) return;
    WideString text = Info.item.pszText;
    if (OnEdited) {
        OnEdited(this, node, text);
    } else if (TCustomTreeView::OnEdited) {
        AnsiString ansi = WideToAnsi(text);
        TCustomTreeView::OnEdited(this, node, ansi);
        text = AnsiToWide(ansi);
    }
    node->SetText(text);
}

namespace {
const TClass tntTreeNodesClass = DescribeClass<TTntTreeNodes, TPersistent>();
const TClass tntTreeViewClass =
    DescribeClass<TTntTreeView, TCustomTreeView>([](TClassBuilder<TTntTreeView>& c) {
        c.Property("Items", &TTntTreeView::Items, &TTntTreeView::SetItems);
        c.Property("Hint", &TTntTreeView::Hint, &TTntTreeView::SetHint);
    });

struct RegisterTntTreeView {
    RegisterTntTreeView() { RegisterClass(tntTreeViewClass); }
} registerTntTreeView;
} // namespace

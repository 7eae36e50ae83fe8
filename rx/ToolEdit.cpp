// The combo edit: a multi-line EDIT window (so that its formatting rectangle
// can leave room) with a host window at its right edge that holds the
// button; and the file-name edit built on it.
#include "rx/ToolEdit.h"

#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtDlgs.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Menus.h"
#include "platform/win/Blit.h"
#include "platform/win/Caret.h"
#include "platform/win/DropFiles.h"
#include "platform/win/EditControl.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Kernel.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/ResourceImages.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPos.h"

#include <vector>

namespace {

// Alt+Down.
constexpr TShortCut DefaultClickKey = scAlt | VK_DOWN;
constexpr Integer DefaultButtonWidth = 21;
constexpr Integer DefaultHostHeight = 17;
constexpr Integer DefaultEditHeight = 21;
// What a button gives its glyph beyond the picture itself.
constexpr Integer GlyphPadding = 6;
constexpr char Enter = 13;
constexpr char Escape = 27;

const DWORD alignmentStyles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};

} // namespace

// ---- TEditButton ------------------------------------------------------------------------

TEditButton::TEditButton(TComponent* AOwner) : TRxSpeedButton(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetParentShowHint(true);
}

void TEditButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    auto* edit = dynamic_cast<TCustomComboEdit*>(Owner());
    if (Button == mbLeft && edit) {
        // The press that closes an open popup does not open it again.
        noAction_ = edit->Popup() && edit->PopupVisible();
        if (noAction_)
            edit->ClosePopup(true);
        else if (edit->TabStop() && edit->CanFocus() && GetFocus() != edit->Handle())
            edit->SetFocus();
    }
    TRxSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TEditButton::Click() {
    if (noAction_) {
        noAction_ = false;
        return;
    }
    TRxSpeedButton::Click();
}

void TEditButton::Paint() {
    TRxSpeedButton::Paint();
    if (ButtonState() == rbsDown) return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(NewStyleControls ? clBtnFace : clBtnShadow);
    canvas->MoveTo(0, 0);
    canvas->LineTo(0, Height() - 1);
    canvas->Pen()->SetColor(clBtnHighlight);
    canvas->MoveTo(1, 1);
    canvas->LineTo(1, Height() - 2);
}

// ---- TCustomComboEdit ----------------------------------------------------------------------

TCustomComboEdit::TCustomComboEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner), clickKey_(DefaultClickKey) {
    SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse});
    SetAutoSize(false);
    buttonHost_ = new TWinControl(this);
    buttonHost_->SetControlStyle(buttonHost_->ControlStyle() + TControlStyle{csReplicatable});
    buttonHost_->SetBounds(0, 0, DefaultButtonWidth, DefaultHostHeight);
    buttonHost_->SetVisible(true);
    buttonHost_->SetParent(this);
    button_ = new TEditButton(this);
    button_->SetBounds(0, 0, buttonHost_->Width(), buttonHost_->Height());
    button_->SetVisible(true);
    button_->SetParent(buttonHost_);
    button_->OnClick = TNotifyEvent(this, &TCustomComboEdit::EditButtonClick);
    SetHeight(DefaultEditHeight);
}

// The button goes with the edit's children, before the edit's destructor runs.
void TCustomComboEdit::BeforeDestruction() {
    if (!DestructionPrepared()) button_->OnClick = nullptr;
    TCustomMaskEdit::BeforeDestruction();
}

Integer TCustomComboEdit::ButtonWidth() const {
    return button_->Width();
}

void TCustomComboEdit::SetButtonWidth(Integer Value) {
    if (ButtonWidth() == Value) return;
    buttonHost_->SetVisible(Value > 1);
    if (ControlState().Contains(csCreating)) {
        buttonHost_->SetWidth(Value);
        button_->SetWidth(Value);
    } else {
        if (Value >= ClientWidth()) return;
        button_->SetWidth(Value);
        if (HandleAllocated()) RecreateWnd();
        updateButtonPlace();
    }
    button_->SetControlStyle(button_->ControlStyle() - TControlStyle{csFixedWidth});
    RecreateGlyph();
}

Integer TCustomComboEdit::naturalButtonWidth() const {
    if (glyphKind_ == gkDefault && !Glyph()->Empty())
        return Max(Glyph()->Width() / NumGlyphs() + GlyphPadding, DefaultButtonWidth);
    if (glyphKind_ == gkDropDown) return GetSystemMetrics(SM_CXVSCROLL);
    return DefaultButtonWidth;
}

bool TCustomComboEdit::IsButtonWidthStored() const {
    return ButtonWidth() != naturalButtonWidth();
}

void TCustomComboEdit::SetGlyph(TBitmap* Value) {
    button_->SetGlyph(Value);
    glyphKind_ = gkCustom;
}

void TCustomComboEdit::SetNumGlyphs(TRxNumGlyphs Value) {
    if (glyphKind_ == gkDropDown || glyphKind_ == gkEllipsis)
        button_->SetNumGlyphs(1);
    else if (glyphKind_ == gkDefault)
        button_->SetNumGlyphs(defaultNumGlyphs_);
    else
        button_->SetNumGlyphs(Value);
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind Value) {
    if (glyphKind_ == Value) return;
    glyphKind_ = Value;
    if (Value == gkCustom && ComponentState().Contains(csReading)) button_->SetGlyph(nullptr);
    RecreateGlyph();
    if (Value == gkDefault && !Glyph()->Empty()) {
        SetButtonWidth(Max(Glyph()->Width() / NumGlyphs() + GlyphPadding, ButtonWidth()));
    } else if (Value == gkDropDown) {
        SetButtonWidth(GetSystemMetrics(SM_CXVSCROLL));
        button_->SetControlStyle(button_->ControlStyle() + TControlStyle{csFixedWidth});
    }
}

TBitmap* TCustomComboEdit::GetDefaultBitmap(bool& FreeAfterUse) {
    FreeAfterUse = false;
    return nullptr;
}

// Three black dots of 2 x 2 pixels, as wide apart as the button allows.
std::unique_ptr<TBitmap> TCustomComboEdit::ellipsisGlyph() const {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetMonochrome(true);
    const Integer width = Max(1, ButtonWidth() - GlyphPadding);
    bitmap->SetSize(width, 4);
    const Integer gap = Min(Max((width - 6) / 2, 1), 3);
    const Integer left = (width - 6 - 2 * gap) / 2;
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect({0, 0, width, 4});
    for (Integer x : {left, left + gap + 2, left + 2 * gap + 4})
        PatBlt(canvas->Handle(), x, 1, 2, 2, BLACKNESS);
    return bitmap;
}

void TCustomComboEdit::RecreateGlyph() {
    switch (glyphKind_) {
    case gkDefault: {
        bool freeAfterUse = false;
        TBitmap* picture = GetDefaultBitmap(freeAfterUse);
        if (!picture) return;
        button_->SetGlyph(picture);
        button_->SetNumGlyphs(defaultNumGlyphs_);
        if (freeAfterUse) delete picture;
        break;
    }
    case gkEllipsis: {
        std::unique_ptr<TBitmap> dots = ellipsisGlyph();
        button_->SetGlyph(dots.get());
        button_->SetNumGlyphs(1);
        break;
    }
    case gkDropDown: {
        TBitmap arrow;
        arrow.SetHandle(LoadBitmapA(nullptr, OBM_COMBO));
        button_->SetGlyph(&arrow);
        button_->SetNumGlyphs(1);
        break;
    }
    case gkCustom:
        break;
    }
}

void TCustomComboEdit::applyReadOnly() {
    TCustomEdit::SetReadOnly(readOnly_ || !directInput_);
}

void TCustomComboEdit::SetDirectInput(bool Value) {
    directInput_ = Value;
    applyReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool Value) {
    if (readOnly_ == Value) return;
    readOnly_ = Value;
    applyReadOnly();
}

void TCustomComboEdit::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    RecreateWnd();
}

void TCustomComboEdit::SelectAll() {
    if (directInput_) TCustomEdit::SelectAll();
}

void TCustomComboEdit::CreateParams(TCreateParams& Params) {
    TCustomMaskEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN | alignmentStyles[alignment_];
}

void TCustomComboEdit::CreateWnd() {
    TCustomMaskEdit::CreateWnd();
    setEditRect();
}

// Typed text never runs under the button.
void TCustomComboEdit::setEditRect() {
    if (!HandleAllocated()) return;
    RECT rect{0, 0, ClientWidth() - buttonHost_->Width() - 2, ClientHeight() + 1};
    SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

void TCustomComboEdit::updateButtonPlace() {
    const Integer buttonWidth = ButtonWidth();
    const Integer width = Width();
    const Integer height = Height();
    if (NewStyleControls && BorderStyle() == bsSingle && Ctl3D())
        buttonHost_->SetBounds(width - buttonWidth - 4, 0, buttonWidth, height - 4);
    else if (NewStyleControls && BorderStyle() == bsSingle)
        buttonHost_->SetBounds(width - buttonWidth - 2, 2, buttonWidth, height - 4);
    else
        buttonHost_->SetBounds(width - buttonWidth, 0, buttonWidth, height);
    button_->SetHeight(buttonHost_->Height());
    setEditRect();
}

// The smaller of the system font's and the control font's character height.
Integer TCustomComboEdit::textHeight() {
    return Min(ScreenCharacterHeight(static_cast<HFONT>(GetStockObject(SYSTEM_FONT))),
               ScreenCharacterHeight(Font()->Handle()));
}

Integer TCustomComboEdit::minHeight() {
    return textHeight() + 4 * GetSystemMetrics(SM_CYBORDER) + 1;
}

void TCustomComboEdit::wmSize(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    if (ComponentState().Contains(csLoading)) {
        // A popup placed on the form at design time waits out of the way.
        if (popup_ && ComponentState().Contains(csDesigning)) popup_->SetBounds(0, Height() + 1, 10, 10);
        updateButtonPlace();
        return;
    }
    const Integer least = minHeight();
    if (Height() < least)
        SetHeight(least);
    else
        updateButtonPlace();
}

void TCustomComboEdit::wmSetFocus(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    focused_ = true;
    CreateCaret(Handle(), nullptr, Font()->Style().Contains(fsBold) ? 2 : 1, textHeight());
    ShowCaret(Handle());
}

void TCustomComboEdit::cnCtlColor(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
    if (!Enabled() && ColorToRGB(Color()) != ColorToRGB(clGrayText))
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clGrayText)));
}

void TCustomComboEdit::EditButtonClick(TObject*) {
    if (GetReadOnly() && !alwaysEnable_) return;
    ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
    if (OnButtonClick) OnButtonClick(this);
    if (!popup_) return;
    if (popupVisible_)
        ClosePopup(true);
    else
        OpenPopup(true);
}

// ---- The popup ----

// Under the field, or above it where the screen ends; its right or left
// edge in line with the field's, and inside the screen.
TPoint TCustomComboEdit::popupPosition() {
    const Integer screenWidth = Screen->Width();
    const Integer popupWidth = popup_->Width();
    const TPoint origin = Parent() ? Parent()->ClientToScreen({Left(), Top()}) : ClientToScreen({0, 0});
    Integer y = origin.y + Height();
    if (y + popup_->Height() > Screen->Height()) y = origin.y - popup_->Height();
    Integer x = origin.x;
    if (popupAlign_ == 0) {
        x = origin.x - (popupWidth - Width());
        if (x < 0) x = origin.x;
    } else if (x + popupWidth > screenWidth) {
        x = origin.x - (popupWidth - Width());
    }
    return {Max(0, Min(x, screenWidth - popupWidth)), y};
}

void TCustomComboEdit::OpenPopup(bool DisableEdit) {
    if (!popup_ || GetReadOnly() || popupVisible_) return;
    const TPoint position = popupPosition();
    SetPopupValue(Text());
    if (CanFocus()) SetFocus();
    ShowPopupAt(position);
    popupVisible_ = true;
    if (DisableEdit) {
        TCustomEdit::SetReadOnly(true);
        HideCaret(Handle());
    }
}

void TCustomComboEdit::ClosePopup(bool Accept) {
    if (!popup_ || !popupVisible_) return;
    struct Closed {
        bool& visible;
        ~Closed() { visible = false; }
    } closed{popupVisible_};
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    AnsiString value = GetPopupValue();
    HidePopup();
    try {
        if (CanFocus()) SetFocus();
        if (GetFocus() == Handle()) ShowCaret(Handle());
    } catch (...) {
        // The field may be unable to take the focus while its form closes;
        // the popup is hidden all the same.
    }
    applyReadOnly();
    Invalidate();
    if (Accept && CanAcceptPopupValue(value) && EditCanModify()) {
        ApplyPopupValue(value);
        if (focused_) TCustomEdit::SelectAll();
    }
}

void TCustomComboEdit::ShowPopupAt(const TPoint& Position) {
    SetWindowPos(popup_->Handle(), HWND_TOP, Position.x, Position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    popup_->SetVisible(true);
}

void TCustomComboEdit::HidePopup() {
    SetWindowPos(popup_->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    popup_->SetVisible(false);
}

bool TCustomComboEdit::CanAcceptPopupValue(AnsiString&) {
    return true;
}

void TCustomComboEdit::ApplyPopupValue(const AnsiString& Value) {
    if (Value == Text()) return;
    SetText(Value);
    SetModified(true);
    popupVisible_ = popup_ && popup_->Visible();
    TCustomMaskEdit::Change();
}

void TCustomComboEdit::SetPopupValue(const AnsiString& Value) {
    if (popup_) popup_->SetPopupValue(Value);
}

AnsiString TCustomComboEdit::GetPopupValue() {
    return popup_ ? popup_->PopupValue() : AnsiString();
}

void TCustomComboEdit::Change() {
    if (popupVisible_)
        PopupValueChanged();
    else
        TCustomMaskEdit::Change();
}

void TCustomComboEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    if (Button == mbLeft && popup_) {
        if (CanFocus()) SetFocus();
        if (!focused_) return;
        ClosePopup(false);
    }
    TCustomMaskEdit::MouseDown(Button, Shift, X, Y);
}

void TCustomComboEdit::wmKillFocus(TMessage& Message) {
    TCustomMaskEdit::Dispatch(Message);
    focused_ = false;
    ClosePopup(false);
}

// Another control's mode ends the popup, unless the sender is part of it.
void TCustomComboEdit::cmCancelMode(TMessage& Message) {
    auto* sender = reinterpret_cast<TControl*>(Message.LParam);
    if (sender == this || sender == popup_ || sender == button_) return;
    if (popup_ && !(sender && popup_->ContainsControl(sender))) ClosePopup(false);
}

void TCustomComboEdit::KeyDown(Word& Key, TShiftState Shift) {
    TCustomMaskEdit::KeyDown(Key, Shift);
    if (Key != 0 && ShortCut(Key, Shift) == clickKey_ && ButtonWidth() > 0) {
        EditButtonClick(this);
        Key = 0;
    }
}

void TCustomComboEdit::KeyPress(char& Key) {
    if (Key != Enter && Key != Escape) {
        TCustomMaskEdit::KeyPress(Key);
        return;
    }
    if (popup_ && popupVisible_) {
        ClosePopup(Key == Enter);
        Key = 0;
        return;
    }
    // The form's default and cancel buttons hear Enter and Escape.
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, static_cast<Byte>(Key), 0);
    TCustomMaskEdit::KeyPress(Key);
    if (Key == Enter) Key = 0;
}

void TCustomComboEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
        wmSize(Message);
        break;
    case WM_SETFOCUS:
        wmSetFocus(Message);
        break;
    case WM_KILLFOCUS:
        wmKillFocus(Message);
        break;
    case CM_CANCELMODE:
        cmCancelMode(Message);
        break;
    case CM_BIDIMODECHANGED:
        TCustomMaskEdit::Dispatch(Message);
        if (popup_) popup_->SetBiDiMode(BiDiMode());
        break;
    case CN_CTLCOLOREDIT:
        cnCtlColor(Message);
        break;
    case CM_ENABLEDCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        button_->SetEnabled(Enabled());
        break;
    case CM_CTL3DCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        updateButtonPlace();
        break;
    case CM_FONTCHANGED:
        TCustomMaskEdit::Dispatch(Message);
        setEditRect();
        break;
    case CM_ENTER:
        if (AutoSelect() && !ControlState().Contains(csLButtonDown)) SelectAll();
        TCustomMaskEdit::Dispatch(Message);
        break;
    case WM_PASTE:
    case WM_CUT:
        if (directInput_ && !GetReadOnly()) TCustomMaskEdit::Dispatch(Message);
        break;
    default:
        TCustomMaskEdit::Dispatch(Message);
    }
}

// ---- TFileDirEdit ---------------------------------------------------------------------------

namespace {

const char* const FolderBitmapName = "FEDITBMP";
const char* const DefaultDialogTitle = "Browse";
const char* const DefaultFilter = "All files (*.*)|*.*";
const char* const InvalidFileNameMessage = "Invalid file name - %s";
constexpr UINT FileCountQuery = 0xFFFFFFFF;

// The folder picture that every file-name edit's button shows.
TBitmap* folderBitmap() {
    static std::unique_ptr<TBitmap> bitmap;
    if (!bitmap) {
        bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromResourceName(nullptr, FolderBitmapName);
    }
    return bitmap.get();
}

// The name part of a text: the whole text when a file of that name exists,
// else its first command-line word.
AnsiString namePart(const AnsiString& Text) {
    if (Text.empty() || FileExists(Text)) return Text;
    AnsiString word;
    ExtractParam(Text, 0, word);
    return word;
}

AnsiString quotedName(const AnsiString& Name) {
    if (Name.find(' ') != AnsiString::npos && (Name.empty() || Name[0] != '"')) return "\"" + Name + "\"";
    return Name;
}

// A dropped name, read whole.
AnsiString droppedName(HDROP Drop, UINT Index) {
    const UINT length = DragQueryFileA(Drop, Index, nullptr, 0);
    std::vector<char> buffer(length + 1);
    DragQueryFileA(Drop, Index, buffer.data(), length + 1);
    return AnsiString(buffer.data(), length);
}

} // namespace

TFileDirEdit::TFileDirEdit(TComponent* AOwner) : TCustomComboEdit(AOwner) {
    SetOEMConvert(true);
    SetControlState(ControlState() + TControlState{csCreating});
    SetGlyphKind(gkDefault);
    SetControlState(ControlState() - TControlState{csCreating});
}

TFileDirEdit::~TFileDirEdit() = default;

TBitmap* TFileDirEdit::GetDefaultBitmap(bool& FreeAfterUse) {
    FreeAfterUse = false;
    return folderBitmap();
}

void TFileDirEdit::registerDrops(bool Accept) {
    if (HandleAllocated() && !ComponentState().Contains(csDesigning)) DragAcceptFiles(WindowHandle(), Accept);
}

void TFileDirEdit::SetAcceptFiles(bool Value) {
    if (acceptFiles_ == Value) return;
    registerDrops(Value);
    acceptFiles_ = Value;
}

void TFileDirEdit::CreateHandle() {
    TCustomComboEdit::CreateHandle();
    if (acceptFiles_) registerDrops(true);
}

void TFileDirEdit::DestroyWindowHandle() {
    if (acceptFiles_) registerDrops(false);
    TCustomComboEdit::DestroyWindowHandle();
}

void TFileDirEdit::DoBeforeDialog(AnsiString& FileName, bool& Action) {
    if (OnBeforeDialog) OnBeforeDialog(this, FileName, Action);
}

void TFileDirEdit::DoAfterDialog(AnsiString& FileName, bool& Action) {
    if (OnAfterDialog) OnAfterDialog(this, FileName, Action);
}

void TFileDirEdit::wmDropFiles(TMessage& Message) {
    Message.Result = 0;
    auto drop = reinterpret_cast<HDROP>(Message.WParam);
    try {
        const UINT count = DragQueryFileA(drop, FileCountQuery, nullptr, 0);
        if (count > 0) {
            ClearFileList();
            for (UINT i = 0; i < count; ++i) {
                ReceiveFileName(droppedName(drop, i));
                if (!multipleDirs_) break;
            }
            if (OnDropFiles) OnDropFiles(this);
        }
    } catch (...) {
        DragFinish(drop);
        throw;
    }
    DragFinish(drop);
}

void TFileDirEdit::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_DROPFILES)
        wmDropFiles(Message);
    else
        TCustomComboEdit::Dispatch(Message);
}

// ---- TFilenameEdit ------------------------------------------------------------------------

TFilenameEdit::TFilenameEdit(TComponent* AOwner) : TFileDirEdit(AOwner) {
    createDialog();
}

TFilenameEdit::~TFilenameEdit() = default;

namespace {

std::unique_ptr<TOpenDialog> dialogOfKind(TFileDialogKind Kind) {
    switch (Kind) {
    case dkSave:
        return std::make_unique<TSaveDialog>(nullptr);
    case dkOpenPicture:
        return std::make_unique<TOpenPictureDialog>(nullptr);
    case dkSavePicture:
        return std::make_unique<TSavePictureDialog>(nullptr);
    case dkOpen:
        break;
    }
    return std::make_unique<TOpenDialog>(nullptr);
}

} // namespace

void TFilenameEdit::createDialog() {
    std::unique_ptr<TOpenDialog> created = dialogOfKind(dialogKind_);
    if (dialog_) {
        created->SetDefaultExt(dialog_->DefaultExt());
        created->SetFileEditStyle(dialog_->FileEditStyle());
        created->SetFileName(dialog_->FileName());
        created->SetFilter(dialog_->Filter());
        created->SetFilterIndex(dialog_->FilterIndex());
        created->SetInitialDir(dialog_->InitialDir());
        created->SetHistoryList(dialog_->HistoryList());
        created->Files()->Assign(dialog_->Files());
        created->SetOptions(dialog_->Options());
        created->SetTitle(dialog_->Title());
    } else {
        created->SetTitle(DefaultDialogTitle);
        created->SetFilter(DefaultFilter);
        created->SetOptions(TOpenOptions{ofHideReadOnly});
    }
    dialog_ = std::move(created);
}

void TFilenameEdit::SetDialogKind(TFileDialogKind Value) {
    if (dialogKind_ == Value) return;
    dialogKind_ = Value;
    createDialog();
}

AnsiString TFilenameEdit::FileName() {
    return namePart(Text());
}

void TFilenameEdit::SetFileName(const AnsiString& Value) {
    if (!Value.empty() && !ValidFileName(namePart(Value)))
        throw EComboEditError(Format(InvalidFileNameMessage, {Value}));
    SetText(quotedName(Value));
    ClearFileList();
}

bool TFilenameEdit::IsFilterStored() const {
    return Filter() != DefaultFilter;
}

bool TFilenameEdit::IsDialogTitleStored() const {
    return DialogTitle() != DefaultDialogTitle;
}

void TFilenameEdit::SetDialogOptions(TOpenOptions Value) {
    if (Value == dialog_->Options()) return;
    dialog_->SetOptions(Value);
    SetMultipleDirs(Value.Contains(ofAllowMultiSelect));
    if (!MultipleDirs()) ClearFileList();
}

void TFilenameEdit::ClearFileList() {
    dialog_->Files()->Clear();
}

void TFilenameEdit::ReceiveFileName(const AnsiString& AFileName) {
    if (!MultipleDirs()) {
        SetFileName(AFileName);
        return;
    }
    if (dialog_->Files()->Count() == 0) SetFileName(AFileName);
    dialog_->Files()->Add(AFileName);
}

AnsiString TFilenameEdit::GetLongName() {
    return LongFileName(FileName());
}

AnsiString TFilenameEdit::GetShortName() {
    return ShortFileName(FileName());
}

void TFilenameEdit::prepareDialog(const AnsiString& Name) {
    if (!ValidFileName(Name)) return;
    const AnsiString folder = ExtractFilePath(Name);
    if (DirExists(folder)) dialog_->SetInitialDir(folder);
    const AnsiString file = ExtractFileName(Name);
    dialog_->SetFileName(file.empty() || !ValidFileName(file) ? AnsiString() : Name);
}

void TFilenameEdit::ButtonClick() {
    TFileDirEdit::ButtonClick();
    AnsiString name = FileName();
    bool action = true;
    DoBeforeDialog(name, action);
    if (!action) return;
    try {
        prepareDialog(name);
    } catch (const Exception&) {
        // A name the file calls refuse leaves the dialog with its previous settings.
    }
    dialog_->SetHelpContext(HelpContext());
    // Empty drives and unreadable media raise no system message boxes meanwhile.
    const UINT savedErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    try {
        action = dialog_->Execute();
    } catch (...) {
        SetErrorMode(savedErrorMode);
        throw;
    }
    SetErrorMode(savedErrorMode);
    if (action) name = dialog_->FileName();
    if (CanFocus()) SetFocus();
    DoAfterDialog(name, action);
    if (!action) return;
    SetText(quotedName(name));
    dialog_->SetInitialDir(ExtractFilePath(dialog_->FileName()));
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const glyphKindType =
    DefineEnum<TGlyphKind>("TGlyphKind", {"gkCustom", "gkDefault", "gkDropDown", "gkEllipsis"});
const TTypeInfo* const fileDialogKindType =
    DefineEnum<TFileDialogKind>("TFileDialogKind", {"dkOpen", "dkSave", "dkOpenPicture", "dkSavePicture"});

// What every published combo edit streams beyond the edit's own properties.
template <typename T> void describeComboEdit(TClassBuilder<T>& c, TGlyphKind DefaultGlyphKind) {
    c.Property("AutoSize", &T::AutoSize, &T::SetAutoSize).Default(false);
    c.Property("ButtonHint", &T::ButtonHint, &T::SetButtonHint);
    c.Property("ClickKey", &T::ClickKey, &T::SetClickKey).Type(TypeInfoShortCut()).Default(DefaultClickKey);
    c.Property("DirectInput", &T::DirectInput, &T::SetDirectInput).Default(true);
    c.Property("GlyphKind", &T::GlyphKind, &T::SetGlyphKind).Default(DefaultGlyphKind);
    c.Property("Glyph", &T::Glyph, &T::SetGlyph).Stored(&T::IsGlyphStored);
    c.Property("ButtonWidth", &T::ButtonWidth, &T::SetButtonWidth).Stored(&T::IsButtonWidthStored);
    c.Property("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs).Default(TRxNumGlyphs{1});
    c.Property("ReadOnly", &T::ReadOnly, &T::SetReadOnly).Default(false);
    c.Property("OnButtonClick", &T::OnButtonClick, &T::OnButtonClick);
}

const TClass customComboEditClass = DescribeClass<TCustomComboEdit, TCustomMaskEdit>();

const TClass comboEditClass = DescribeClass<TComboEdit, TCustomComboEdit>([](TClassBuilder<TComboEdit>& c) {
    c.Property("Alignment", &TComboEdit::Alignment, &TComboEdit::SetAlignment).Default(taLeftJustify);
    describeComboEdit(c, gkCustom);
});

const TClass fileDirEditClass = DescribeClass<TFileDirEdit, TCustomComboEdit>([](TClassBuilder<TFileDirEdit>& c) {
    c.Property("AcceptFiles", &TFileDirEdit::AcceptFiles, &TFileDirEdit::SetAcceptFiles).Default(false);
    c.Property("OnBeforeDialog", &TFileDirEdit::OnBeforeDialog, &TFileDirEdit::OnBeforeDialog);
    c.Property("OnAfterDialog", &TFileDirEdit::OnAfterDialog, &TFileDirEdit::OnAfterDialog);
    c.Property("OnDropFiles", &TFileDirEdit::OnDropFiles, &TFileDirEdit::OnDropFiles);
    c.Property("OnButtonClick", &TFileDirEdit::OnButtonClick, &TFileDirEdit::OnButtonClick);
});

const TClass filenameEditClass =
    DescribeClass<TFilenameEdit, TFileDirEdit>([](TClassBuilder<TFilenameEdit>& c) {
        using T = TFilenameEdit;
        c.Property("DialogKind", &T::DialogKind, &T::SetDialogKind).Default(dkOpen);
        c.Property("DefaultExt", &T::DefaultExt, &T::SetDefaultExt);
        c.Property("FileEditStyle", &T::FileEditStyle, &T::SetFileEditStyle).Default(fsEdit);
        c.Property("FileName", &T::FileName, &T::SetFileName).Stored(false);
        c.Property("Filter", &T::Filter, &T::SetFilter).Stored(&T::IsFilterStored);
        c.Property("FilterIndex", &T::FilterIndex, &T::SetFilterIndex).Default(1);
        c.Property("InitialDir", &T::InitialDir, &T::SetInitialDir);
        c.Property("HistoryList", &T::HistoryList, &T::SetHistoryList);
        c.Property("DialogOptions", &T::DialogOptions, &T::SetDialogOptions).Default(TOpenOptions{ofHideReadOnly});
        c.Property("DialogTitle", &T::DialogTitle, &T::SetDialogTitle).Stored(&T::IsDialogTitleStored);
        describeComboEdit(c, gkDefault);
    });

struct RegisterToolEditClasses {
    RegisterToolEditClasses() { RegisterClasses({ClassOf<TComboEdit>(), ClassOf<TFilenameEdit>()}); }
} registerToolEditClasses;

} // namespace

// The gl widget set's small routines: numbers, strings, rectangles, text and
// box variants, window lookups, system information, component text and the
// Cyrillic-Latin transliterator.
#include "gl/glUtils.h"

#include "platform/core/Classes.h"
#include "platform/core/FileUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Resources.h"
#include "platform/win/DrawText.h"
#include "platform/win/Edges.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Sounds.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/TextOut.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr unsigned CountMask = 0xFFFF;
constexpr Integer SmallFontsPixelsPerInch = 96;
constexpr Integer BoldWeight = 700;
constexpr Integer NormalWeight = 400;
constexpr DWORD NameLimit = 32;
// The odd factor is the routine's own; it turns centimetres into its units.
constexpr float SantimFactor = 1.541f;
constexpr float CentimetresPerInch = 2.54f;

Integer count16(Integer Count) {
    return static_cast<Integer>(static_cast<unsigned>(Count) & CountMask);
}

// ---- Styled text in a rectangle ----

class RectText {
public:
    RectText(HDC DC, const TRect& Rect, const AnsiString& Text, UINT Flags)
        : dc_(DC), rect_(Rect), text_(Text), flags_(Flags) {}
    void at(Integer DX, Integer DY, TColor Color) const {
        SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(Color)));
        TRect place{rect_.Left + DX, rect_.Top + DY, rect_.Right + DX, rect_.Bottom + DY};
        DrawTextA(dc_, text_.c_str(), static_cast<int>(text_.size()), &place, flags_);
    }

private:
    HDC dc_;
    TRect rect_;
    const AnsiString& text_;
    UINT flags_;
};

// ---- Justified text ----

struct Word {
    AnsiString text;
    Integer width = 0;
    Integer height = 0;
};

Word measureWord(HDC DC, AnsiString Text) {
    SIZE size{};
    GetTextExtentPoint32A(DC, Text.c_str(), static_cast<int>(Text.size()), &size);
    return {std::move(Text), size.cx, size.cy};
}

// The word from Position: the spaces before it and the letters up to the next space.
std::size_t wordEnd(const AnsiString& Text, std::size_t Position) {
    while (Position < Text.size() && Text[Position] == ' ')
        ++Position;
    while (Position < Text.size() && Text[Position] != ' ')
        ++Position;
    return Position;
}

// Draws a line's words, spreading Spare pixels evenly over the gaps.
void drawJustifiedLine(HDC DC, const std::vector<Word>& Line, const TRect& Rect, Integer Top, double Spare) {
    const double gap = Line.size() > 1 ? Spare / static_cast<double>(Line.size() - 1) : 0;
    double position = 0;
    for (const Word& word : Line) {
        if (Line.size() > 1 && position + word.width > Rect.Width()) return;
        TextOutA(DC, Rect.Left + static_cast<Integer>(position), Top, word.text.c_str(),
                 static_cast<int>(word.text.size()));
        position += word.width + gap;
    }
}

void drawJustified(HDC DC, const AnsiString& Text, const TRect& Rect) {
    const Integer width = Rect.Width();
    std::size_t position = 0;
    for (Integer lineIndex = 0;; ++lineIndex) {
        // The first word of a line drops its leading spaces.
        while (position < Text.size() && Text[position] == ' ')
            ++position;
        if (position >= Text.size()) return;
        std::vector<Word> line;
        Integer sum = 0;
        Integer height = 0;
        bool overflowed = false;
        while (position < Text.size() && !overflowed) {
            const std::size_t end = wordEnd(Text, position);
            Word word = measureWord(DC, Text.substr(position, end - position));
            overflowed = sum + word.width > width;
            // An overflowing word starts the next line, unless it is the line's only one.
            if (overflowed && !line.empty()) break;
            sum += word.width;
            height = std::max(height, word.height);
            line.push_back(std::move(word));
            position = end;
        }
        const double spare = overflowed || position < Text.size() ? width - sum : 0;
        drawJustifiedLine(DC, line, Rect, Rect.Top + lineIndex * height, spare);
        if (!overflowed && position >= Text.size()) return;
    }
}

// ---- Boxes ----

void edge(HDC DC, TRect& Rect, UINT Edge, UINT Flags) {
    DrawEdge(DC, &Rect, Edge, Flags);
}

void shrink(TRect& Rect, Integer By) {
    Rect = {Rect.Left + By, Rect.Top + By, Rect.Right - By, Rect.Bottom - By};
}

void recessedSequence(HDC DC, TRect& Rect) {
    edge(DC, Rect, BDR_SUNKENINNER, BF_TOPLEFT);
    edge(DC, Rect, BDR_SUNKENOUTER, BF_BOTTOMRIGHT);
    Rect = {Rect.Left + 1, Rect.Top + 1, Rect.Right - 1, Rect.Bottom - 1};
    edge(DC, Rect, BDR_SUNKENOUTER, BF_TOPLEFT | BF_ADJUST);
    Rect.Left += 1;
    Rect.Top += 1;
}

void raisedSequence(HDC DC, TRect& Rect) {
    edge(DC, Rect, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
    Rect.Right -= 1;
    Rect.Bottom -= 1;
    edge(DC, Rect, BDR_RAISEDINNER, BF_TOPLEFT);
    Rect.Left += 1;
    Rect.Top += 1;
    edge(DC, Rect, BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_ADJUST);
}

// ---- Window images ----

// Paints with the DC's origin at (X, Y), its state restored afterwards.
template <typename Paint> void paintAt(HDC DC, Integer X, Integer Y, Paint paint) {
    const int saved = SaveDC(DC);
    SetViewportOrgEx(DC, X, Y, nullptr);
    paint();
    RestoreDC(DC, saved);
}

bool intersects(const TRect& A, const TRect& B) {
    return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) &&
           std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

TRect intersection(const TRect& A, const TRect& B) {
    return {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
}

// ---- Keys ----

constexpr BYTE ShiftFlag = 1;
constexpr BYTE ControlFlag = 2;
constexpr BYTE AltFlag = 4;

void holdModifiers(BYTE Modifiers, DWORD Flags) {
    const std::pair<BYTE, UINT> modifiers[] = {
        {ShiftFlag, VK_SHIFT}, {ControlFlag, VK_CONTROL}, {AltFlag, VK_MENU}};
    for (auto [flag, key] : modifiers)
        if (Modifiers & flag) keybd_event(static_cast<BYTE>(key), 0, Flags, 0);
}

// ---- Transliteration (code page 1251) ----

struct Digraph {
    Byte cyrillic;
    const char* latin;
};
const Digraph Digraphs[] = {{0xF5, "kh"}, {0xF6, "ts"},   {0xF7, "ch"}, {0xF8, "sh"}, {0xF9, "shch"},
                            {0xFE, "iu"}, {0xFF, "ia"},   {0xD5, "Kh"}, {0xD6, "Ts"}, {0xD7, "Ch"},
                            {0xD8, "Sh"}, {0xD9, "Shch"}, {0xDE, "Iu"}, {0xDF, "Ia"}};
constexpr Byte FirstCyrillic = 0xC0;
constexpr Byte FirstSmallCyrillic = 0xE0;
// The Latin letter of each capital from А to Я; the small letters take the lower case.
constexpr const char* CyrillicCapitals = "ABVGDEGZIIKLMNOPRSTUFHC___\"Y'EUY";
// The Cyrillic capital of each Latin capital from A to Z; 0 for Q, W and X, which stay.
constexpr Byte LatinCapitals[26] = {0xC0, 0xC1, 0xD6, 0xC4, 0xC5, 0xD4, 0xC6, 0xD5, 0xC8,
                                    0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF, 0,    0xD0,
                                    0xD1, 0xD2, 0xD3, 0xC2, 0,    0,    0xDB, 0xC7};
constexpr Byte CaseDistance = 0x20;

AnsiString replaceAll(AnsiString Text, const AnsiString& From, const AnsiString& To) {
    for (std::size_t at = Text.find(From); at != AnsiString::npos; at = Text.find(From, at + To.size()))
        Text.replace(at, From.size(), To);
    return Text;
}

char toLatin(char Character) {
    const Byte code = static_cast<Byte>(Character);
    if (code < FirstCyrillic) return Character;
    const bool small = code >= FirstSmallCyrillic;
    const char latin = CyrillicCapitals[code - (small ? FirstSmallCyrillic : FirstCyrillic)];
    return small && latin >= 'A' && latin <= 'Z' ? static_cast<char>(latin + CaseDistance) : latin;
}

char toCyrillic(char Character) {
    const bool capital = Character >= 'A' && Character <= 'Z';
    const bool small = Character >= 'a' && Character <= 'z';
    if (!capital && !small) return Character;
    const Byte cyrillic = LatinCapitals[Character - (capital ? 'A' : 'a')];
    if (cyrillic == 0) return Character;
    return static_cast<char>(capital ? cyrillic : cyrillic + CaseDistance);
}

} // namespace

// ---- Numbers and strings -------------------------------------------------------------------

float MinSingle(float A, float B) {
    return B < A ? B : A;
}

float MaxSingle(float A, float B) {
    return B > A ? B : A;
}

bool IsEven(Integer Value) {
    return Value % 2 == 0;
}

void SwapInt(Integer& A, Integer& B) {
    std::swap(A, B);
}

AnsiString Spaces(Integer Count) {
    return DupChar(' ', Count);
}

AnsiString DupChar(char Character, Integer Count) {
    return AnsiString(static_cast<std::size_t>(count16(Count)), Character);
}

AnsiString DupStr(const AnsiString& Text, Integer Count) {
    AnsiString result;
    for (Integer index = 0; index < count16(Count); ++index)
        result += Text;
    return result;
}

AnsiString ExpandString(const AnsiString& Text, Integer Length) {
    if (static_cast<Integer>(Text.size()) >= Length) return Text;
    return Text + AnsiString(static_cast<std::size_t>(Length) - Text.size(), ' ');
}

const char* StrPosExt(const char* Text, const char* Pattern, Integer Length) {
    if (!Text || !Pattern || !*Pattern) return nullptr;
    const Integer patternLength = static_cast<Integer>(std::strlen(Pattern));
    for (Integer start = 0; start + patternLength <= Length; ++start)
        if (std::memcmp(Text + start, Pattern, static_cast<std::size_t>(patternLength)) == 0)
            return Text + start;
    return nullptr;
}

// ---- Rectangles and bitmaps ----------------------------------------------------------------------

bool IsPointInRect(TPoint Point, const TRect& Rect) {
    return Rect.Left < Point.x && Point.x < Rect.Right && Rect.Top < Point.y && Point.y < Rect.Bottom;
}

bool IsItAFilledBitmap(TBitmap* Bitmap) {
    return Bitmap && Bitmap->Width() != 0 && Bitmap->Height() != 0;
}

TColor GetTransparentColor(TBitmap* Bitmap, TglAutoTransparentColor AutoTransparentColor) {
    if (AutoTransparentColor == ftcUser || !IsItAFilledBitmap(Bitmap)) return 0;
    const Integer right = Bitmap->Width() - 1;
    const Integer bottom = Bitmap->Height() - 1;
    const TPoint corners[] = {{0, 0}, {0, 0}, {0, bottom}, {right, 0}, {right, bottom}};
    const TPoint corner = corners[AutoTransparentColor];
    return Bitmap->Canvas()->Pixels(corner.x, corner.y);
}

// ---- Devices and fonts ---------------------------------------------------------------------------

Integer SantimsToPixels(HDC DC, bool Horizontal, float Santims) {
    const float pixelsPerInch = static_cast<float>(GetDeviceCaps(DC, Horizontal ? LOGPIXELSX : LOGPIXELSY));
    return static_cast<Integer>(std::lrint(pixelsPerInch * Santims * SantimFactor * CentimetresPerInch / 10));
}

bool IsSmallFonts() {
    HDC screen = GetDC(nullptr);
    const bool small = GetDeviceCaps(screen, LOGPIXELSX) == SmallFontsPixelsPerInch;
    ReleaseDC(nullptr, screen);
    return small;
}

Integer SystemColorDepth() {
    HDC screen = GetDC(nullptr);
    const Integer depth = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return depth;
}

HFONT CreateRotatedFont(TFont* Font, Integer Angle) {
    LOGFONTA logFont{};
    logFont.lfHeight = Font->Height();
    logFont.lfEscapement = Angle;
    logFont.lfWeight = Font->Style().Contains(fsBold) ? BoldWeight : NormalWeight;
    logFont.lfItalic = Font->Style().Contains(fsItalic);
    logFont.lfUnderline = Font->Style().Contains(fsUnderline);
    logFont.lfStrikeOut = Font->Style().Contains(fsStrikeOut);
    logFont.lfCharSet = Font->Charset();
    std::strncpy(logFont.lfFaceName, Font->Name().c_str(), LF_FACESIZE - 1);
    logFont.lfPitchAndFamily = Font->Pitch() == fpFixed      ? FIXED_PITCH
                               : Font->Pitch() == fpVariable ? VARIABLE_PITCH
                                                             : DEFAULT_PITCH;
    return CreateFontIndirectA(&logFont);
}

// ---- Text and boxes ------------------------------------------------------------------------------

void DrawTextInRect(HDC DC, TRect Rect, const AnsiString& Text, TglTextStyle Style, TFont* Font, UINT Flags) {
    if (!Font) return;
    if (Flags == 0) Flags = DT_SINGLELINE | DT_VCENTER;
    const int previousMode = SetBkMode(DC, TRANSPARENT);
    HGDIOBJ previousFont = SelectObject(DC, Font->Handle());
    const COLORREF previousColor = GetTextColor(DC);
    const RectText text(DC, Rect, Text, Flags);
    switch (Style) {
    case fstRaised:
    case fstRecessed:
        text.at(-1, -1, Style == fstRaised ? clBtnHighlight : clBtnShadow);
        text.at(1, 1, Style == fstRaised ? clBtnShadow : clBtnHighlight);
        text.at(0, 0, Font->Color());
        break;
    case fstPushed:
        text.at(0, 0, clBtnHighlight);
        text.at(-1, -1, clBtnShadow);
        break;
    case fstShadow:
        text.at(2, 2, clBtnShadow);
        text.at(0, 0, Font->Color());
        break;
    case fstNone:
    case fstVolumetric:
        text.at(0, 0, Font->Color());
        break;
    }
    SetTextColor(DC, previousColor);
    SelectObject(DC, previousFont);
    SetBkMode(DC, previousMode);
}

void DrawTextInRectWithAlign(HDC DC, const TRect& Rect, const AnsiString& Text, TglHorAlign HorAlign,
                             TglVertAlign VertAlign, TglTextStyle Style, TFont* Font, UINT Flags) {
    if (HorAlign == fhaCenter) Flags |= DT_CENTER;
    if (HorAlign == fhaRight) Flags |= DT_RIGHT;
    if (VertAlign == fvaCenter) Flags |= DT_VCENTER;
    if (VertAlign == fvaBottom) Flags |= DT_BOTTOM;
    DrawTextInRect(DC, Rect, Text, Style, Font, Flags);
}

void DrawTextExtAligned(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, TglAlignment Alignment,
                        bool WordWrap) {
    if (Text.empty()) return;
    Canvas->RequiredState({csHandleValid, csFontValid});
    HDC dc = Canvas->Handle();
    if (Alignment == ftaBroadwise) return drawJustified(dc, Text, Rect);
    UINT flags = Alignment == ftaRightJustify ? DT_RIGHT : Alignment == ftaCenter ? DT_CENTER : DT_LEFT;
    flags |= DT_EXPANDTABS;
    if (WordWrap) flags |= DT_WORDBREAK;
    TRect place = Rect;
    DrawTextA(dc, Text.c_str(), static_cast<int>(Text.size()), &place, flags);
}

void DrawBox(HDC DC, TRect& Rect, TglBoxStyle Style) {
    switch (Style) {
    case fbsFlat:
    case fbsStatusControl:
        break;
    case fbsCtl3D:
        Rect = {Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 1};
        break;
    case fbsRecessed:
        Rect.Bottom -= 1;
        recessedSequence(DC, Rect);
        break;
    case fbsRaised:
        shrink(Rect, 2);
        raisedSequence(DC, Rect);
        break;
    case fbsRaisedFrame:
        raisedSequence(DC, Rect);
        shrink(Rect, 1);
        recessedSequence(DC, Rect);
        break;
    case fbsRecessedFrame:
        recessedSequence(DC, Rect);
        shrink(Rect, 1);
        raisedSequence(DC, Rect);
        break;
    }
}

// ---- Windows and controls --------------------------------------------------------------------------

TCustomForm* glUtils::GetParentForm(TControl* Control) {
    for (TControl* control = Control; control; control = control->Parent())
        if (auto* form = dynamic_cast<TCustomForm*>(control)) return form;
    return nullptr;
}

void BringParentWindowToTop(TWinControl* Control) {
    if (TCustomForm* form = glUtils::GetParentForm(Control)) BringWindowToTop(form->Handle());
}

void GetWindowImageFrom(TWinControl* Control, Integer X, Integer Y, bool PaintSelf,
                        bool IncludeWindowedChildren, HDC DC) {
    if (PaintSelf) paintAt(DC, X, Y, [&] { TPublicWinControl::PaintWindowOf(Control, DC); });
    for (Integer index = 0; index < Control->ControlCount(); ++index) {
        TControl* child = Control->Controls(index);
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            if (IncludeWindowedChildren)
                GetWindowImageFrom(windowed, X + child->Left(), Y + child->Top(), true, true, DC);
        } else if (child->Visible()) {
            paintAt(DC, X + child->Left(), Y + child->Top(),
                    [&] { child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0); });
        }
    }
}

void GetWindowImage(TWinControl* Control, bool PaintSelf, bool IncludeWindowedChildren, HDC DC) {
    GetWindowImageFrom(Control, 0, 0, PaintSelf, IncludeWindowedChildren, DC);
}

void GetParentImageRect(TControl* Control, const TRect& Rect, HDC DC) {
    TWinControl* parent = Control->Parent();
    if (!parent) return;
    paintAt(DC, -Rect.Left, -Rect.Top, [&] {
        IntersectClipRect(DC, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
        TPublicWinControl::PaintWindowOf(parent, DC);
    });
    const TRect under = intersection(Control->BoundsRect(), Rect);
    for (Integer index = 0; index < parent->ControlCount(); ++index) {
        TControl* sibling = parent->Controls(index);
        if (sibling == Control) break;
        if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible() ||
            !intersects(sibling->BoundsRect(), under))
            continue;
        paintAt(DC, sibling->Left() - Rect.Left, sibling->Top() - Rect.Top, [&] {
            IntersectClipRect(DC, 0, 0, sibling->Width(), sibling->Height());
            sibling->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
        });
    }
}

HWND FindMainWindow(const AnsiString& ClassName, const AnsiString& Caption) {
    if (ClassName.empty() && Caption.empty()) return nullptr;
    return FindWindowA(ClassName.c_str(), Caption.c_str());
}

// ---- System and files -------------------------------------------------------------------------------

AnsiString UserName() {
    char name[NameLimit + 1] = {};
    DWORD size = NameLimit;
    return GetUserNameA(name, &size) ? AnsiString(name) : AnsiString();
}

AnsiString ComputerName() {
    char name[NameLimit + 1] = {};
    DWORD size = NameLimit;
    return GetComputerNameA(name, &size) ? AnsiString(name) : AnsiString();
}

AnsiString CreateIniFileName() {
    return ChangeFileExt(Application->ExeName(), ".ini");
}

TglFileType GetFileType(const AnsiString& FileName) {
    const AnsiString extension = LowerCase(ExtractFileExt(FileName));
    if (extension == ".gif") return fftGif;
    if (extension == ".jpeg" || extension == ".jpg") return fftJpeg;
    if (extension == ".bmp") return fftBmp;
    return fftUndefined;
}

void Msg(const AnsiString& Text) {
    MessageBoxA(Application->Handle(), Text.c_str(), "", MB_ICONINFORMATION);
}

void TypeStringOnKeyboard(const AnsiString& Text) {
    for (char character : Text) {
        const SHORT scan = VkKeyScanA(character);
        if (scan == -1) continue;
        const BYTE key = LOBYTE(scan);
        const BYTE modifiers = static_cast<BYTE>(scan >> 8);
        holdModifiers(modifiers, 0);
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        holdModifiers(modifiers, KEYEVENTF_KEYUP);
    }
}

bool PlayWaveResource(const AnsiString& ResourceName) {
    HRSRC resource = FindResourceA(HInstance(), ResourceName.c_str(), RT_RCDATA);
    if (!resource) return false;
    void* data = LoadResource(HInstance(), resource);
    const bool playing = sndPlaySoundA(static_cast<LPCSTR>(LockResource(data)), SND_MEMORY | SND_ASYNC);
    // Embedded data lives as long as the program, so the sound may go on
    // reading it after it is given back.
    FreeResource(data);
    return playing;
}

// ---- Component text ------------------------------------------------------------------------------------

AnsiString ComponentToString(TComponent* Component) {
    return WriteComponentText(Component);
}

void StringToComponent(TComponent* Component, const AnsiString& Text) {
    ReadComponentText(Text, Component);
}

void SaveComponentToTextFile(TComponent* Component, const AnsiString& FileName) {
    const AnsiString text = ComponentToString(Component);
    TFileStream file(FileName, fmCreate);
    file.WriteBuffer(text.data(), static_cast<LongInt>(text.size()));
}

void LoadComponentFromTextFile(TComponent* Component, const AnsiString& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyWrite);
    AnsiString text(static_cast<std::size_t>(file.Size()), '\0');
    file.ReadBuffer(text.data(), static_cast<LongInt>(text.size()));
    StringToComponent(Component, text);
}

// ---- Transliteration --------------------------------------------------------------------------------------

AnsiString Transliterate(const AnsiString& Text, bool ToLatin) {
    AnsiString result = Text;
    for (const Digraph& pair : Digraphs) {
        const AnsiString cyrillic(1, static_cast<char>(pair.cyrillic));
        result =
            ToLatin ? replaceAll(result, cyrillic, pair.latin) : replaceAll(result, pair.latin, cyrillic);
    }
    for (char& character : result)
        character = ToLatin ? toLatin(character) : toCyrillic(character);
    return result;
}

// The identifier tables of colours and cursors.
#include "platform/vcl/Idents.h"

#include "platform/core/SysUtils.h"

namespace {

// The first entry of a value is its name when written.
constexpr TIdentMapEntry ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

constexpr TIdentMapEntry CursorNames[] = {
    {crDefault, "crDefault"},
    {crArrow, "crArrow"},
    {crCross, "crCross"},
    {crIBeam, "crIBeam"},
    {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},
    {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
    {crNone, "crNone"},
};

constexpr Integer ColorHexDigits = 8;

} // namespace

bool ColorToIdent(Integer Color, AnsiString& Ident) {
    return IntToIdent(Color, Ident, ColorNames);
}

bool IdentToColor(const AnsiString& Ident, Integer& Color) {
    return IdentToInt(Ident, Color, ColorNames);
}

AnsiString ColorToString(TColor Color) {
    AnsiString ident;
    if (ColorToIdent(Color, ident)) return ident;
    return "$" + IntToHex(static_cast<Cardinal>(Color), ColorHexDigits);
}

TColor StringToColor(const AnsiString& S) {
    Integer color = 0;
    if (IdentToColor(S, color)) return color;
    return StrToInt(S);
}

bool CursorToIdent(Integer Cursor, AnsiString& Ident) {
    return IntToIdent(Cursor, Ident, CursorNames);
}

bool IdentToCursor(const AnsiString& Ident, Integer& Cursor) {
    return IdentToInt(Ident, Cursor, CursorNames);
}

const TTypeInfo* TypeInfoColor() {
    static const TTypeInfo* info = [] {
        const TTypeInfo* type = DefineIntegerType("TColor");
        RegisterIntegerConsts(type, &IdentToColor, &ColorToIdent);
        return type;
    }();
    return info;
}

const TTypeInfo* TypeInfoCursor() {
    static const TTypeInfo* info = [] {
        const TTypeInfo* type = DefineIntegerType("TCursor");
        RegisterIntegerConsts(type, &IdentToCursor, &CursorToIdent);
        return type;
    }();
    return info;
}

const TTypeInfo* TypeInfoShortCut() {
    static const TTypeInfo* info = DefineIntegerType("TShortCut");
    return info;
}

// Font handles and text measurement. Windows face names are mapped to
// metric-compatible fonts (Courier New to Liberation Mono, Arial to Liberation
// Sans, Times New Roman to Liberation Serif, MS Sans Serif and Tahoma to
// Liberation Sans); heights follow LOGFONT (negative: character height,
// positive: cell height) at 96 dots per inch. 8-bit text is Windows-1252.
#pragma once

#include "platform/win/WinTypes.h"

HFONT CreateFontIndirectA(const LOGFONTA* logFont);
HFONT CreateFontIndirectW(const LOGFONTW* logFont);

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
// Width including the DC's extra character spacing, height of the cell.
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, SIZE* size);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, SIZE* size);
BOOL GetCharWidth32A(HDC dc, UINT first, UINT last, int* widths);
BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, int* widths);
BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths);
BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, ABC* widths);
// 0: no font here uses a double-byte character set or needs reordering.
DWORD GetFontLanguageInfo(HDC dc);
int GetTextFaceA(HDC dc, int count, LPSTR name);
int GetTextFaceW(HDC dc, int count, LPWSTR name);

// The clipboard: formats placed by the program as global memory handles (a
// bitmap handle for CF_BITMAP), owned by the clipboard from then on, with
// CF_TEXT and CF_UNICODETEXT each made from the other on request, and private
// formats registered by name. Its text is shared with the desktop through a
// SystemClipboard the backend installs.
#pragma once

#include "platform/win/GlobalMemory.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <optional>

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_LOCALE = 16;
constexpr UINT CF_PRIVATEFIRST = 0x0200;
constexpr UINT CF_PRIVATELAST = 0x02FF;
constexpr UINT CF_GDIOBJFIRST = 0x0300;
constexpr UINT CF_GDIOBJLAST = 0x03FF;

// Fails with ERROR_ACCESS_DENIED while another window or thread has it open.
// Opening again from the same window and thread succeeds; one close ends it.
BOOL OpenClipboard(HWND newOwner);
// On closing after a change the text goes to the desktop, and CF_LOCALE (the
// input language) is added to text that came without one.
BOOL CloseClipboard();
// Frees every format's data; the window that opened the clipboard becomes its owner.
BOOL EmptyClipboard();
// Replaces the format's data, freeing the old. Data cannot be rendered later:
// a null handle fails with ERROR_INVALID_PARAMETER.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The format's data, made from the other text format when needed; it stays
// the clipboard's. Null when the format is not there.
HANDLE GetClipboardData(UINT format);
// The format after `format` (the first after 0): the formats come in the
// order they were placed, the ones that can be made from them last; 0 after
// the last, with ERROR_SUCCESS. Needs the clipboard open by the calling
// thread (ERROR_CLIPBOARD_NOT_OPEN).
UINT EnumClipboardFormats(UINT format);
// These two count the formats that can be made as well.
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

// The same name (compared without regard to case) gives the same number, from
// 0xC000 up; names live as long as the process. 0 with ERROR_INVALID_PARAMETER
// for an empty name or one longer than 255 characters.
UINT RegisterClipboardFormatA(LPCSTR name);
UINT RegisterClipboardFormatW(LPCWSTR name);

// The desktop's clipboard text. GetText must give back what SetText stored
// until another program changes it: a different text means the desktop's
// clipboard changed, and the next opening (or availability question) takes
// it over in place of the program's formats.
class SystemClipboard {
public:
    virtual ~SystemClipboard() = default;
    // Nothing when the desktop's clipboard holds no text.
    virtual std::optional<WideString> GetText() = 0;
    virtual void SetText(const WideString& text) = 0;
    // The program placed formats without text.
    virtual void Clear() = 0;
    // Text the user has just selected, for desktops that paste it with the
    // middle button (the X primary selection); elsewhere it goes nowhere.
    virtual void OfferSelection(const WideString&) {}
};

// Null restores the default, which keeps the text in memory.
void SetSystemClipboard(std::shared_ptr<SystemClipboard> clipboard);
// Offers the text a user selected in a control to the desktop's selection
// (SystemClipboard::OfferSelection); the clipboard itself is not touched.
void OfferSelectedText(const WideString& text);

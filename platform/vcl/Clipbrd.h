// The framework's clipboard object: text and pictures placed on and taken
// from the system clipboard, any format by handle, and nested opening so
// that several formats can be placed as one change.
#pragma once

#include "platform/core/Classes.h"
#include "platform/win/Clipboard.h"

class TClipboard : public TPersistent {
public:
    ~TClipboard() override;

    // Places a picture (TPicture holding a bitmap, or a TBitmap) as CF_BITMAP.
    // EInvalidGraphic "Clipboard does not support Icons" for an icon.
    void Assign(TPersistent* Source) override;
    // Empties the clipboard.
    void Clear();
    // Opening nests: the clipboard is released by the last Close. While it is
    // open, the first format placed empties it; the others join that one.
    // Exception "Cannot open clipboard" when another window holds it.
    void Open();
    void Close();
    bool HasFormat(Word Format);
    // The format's data (the clipboard keeps it), or null.
    HANDLE GetAsHandle(Word Format);
    // The clipboard takes Value.
    void SetAsHandle(Word Format, HANDLE Value);
    AnsiString AsText();
    void SetAsText(const AnsiString& Value);
    // Copies at most BufSize - 1 characters of the text and a NUL; returns the characters copied.
    Integer GetTextBuf(char* Buffer, Integer BufSize);
    void SetTextBuf(const char* Buffer);
    Integer FormatCount();
    Word Formats(Integer Index);

protected:
    // Takes the clipboard's bitmap into a TPicture or TBitmap; EInvalidGraphic
    // "Unsupported clipboard format" when there is none.
    void AssignTo(TPersistent* Dest) override;

private:
    void adding();
    void setBuffer(Word Format, const void* Buffer, std::size_t Size);

    Integer openRefCount_ = 0;
    HWND window_ = nullptr;
    bool emptied_ = false;
};

// The program's clipboard object, made on first use.
TClipboard* Clipboard();
// Puts another object in its place and returns the old one (the caller frees it).
TClipboard* SetClipboard(TClipboard* NewClipboard);

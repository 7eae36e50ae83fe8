#include "platform/vcl/Clipbrd.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/win/Blit.h"
#include "platform/win/Gdi.h"
#include "platform/win/GlobalMemory.h"

#include <cstring>
#include <memory>

namespace {

constexpr const char* SCannotOpenClipboard = "Cannot open clipboard";
constexpr const char* SIconToClipboard = "Clipboard does not support Icons";
constexpr const char* SUnknownClipboardFormat = "Unsupported clipboard format";

std::unique_ptr<TClipboard>& clipboardInstance() {
    static std::unique_ptr<TClipboard> instance;
    return instance;
}

// Keeps the clipboard open for one scope.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(TClipboard& Clipboard) : clipboard_(Clipboard) { clipboard_.Open(); }
    ~OpenClipboardScope() { clipboard_.Close(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

private:
    TClipboard& clipboard_;
};

} // namespace

TClipboard* Clipboard() {
    auto& instance = clipboardInstance();
    if (!instance) instance = std::make_unique<TClipboard>();
    return instance.get();
}

TClipboard* SetClipboard(TClipboard* NewClipboard) {
    TClipboard* old = clipboardInstance().release();
    clipboardInstance().reset(NewClipboard);
    return old;
}

TClipboard::~TClipboard() {
    if (window_) DeallocateHWnd(window_);
}

void TClipboard::Open() {
    if (openRefCount_ == 0) {
        if (!window_) window_ = AllocateHWnd(TWndMethod());
        if (!OpenClipboard(window_)) throw Exception(SCannotOpenClipboard);
        emptied_ = false;
    }
    ++openRefCount_;
}

void TClipboard::Close() {
    if (openRefCount_ == 0) return;
    if (--openRefCount_ == 0) CloseClipboard();
}

void TClipboard::Clear() {
    OpenClipboardScope open(*this);
    EmptyClipboard();
}

void TClipboard::adding() {
    if (openRefCount_ != 0 && !emptied_) {
        Clear();
        emptied_ = true;
    }
}

bool TClipboard::HasFormat(Word Format) {
    return IsClipboardFormatAvailable(Format) != FALSE;
}

HANDLE TClipboard::GetAsHandle(Word Format) {
    OpenClipboardScope open(*this);
    return GetClipboardData(Format);
}

void TClipboard::SetAsHandle(Word Format, HANDLE Value) {
    OpenClipboardScope open(*this);
    adding();
    SetClipboardData(Format, Value);
}

void TClipboard::setBuffer(Word Format, const void* Buffer, std::size_t Size) {
    OpenClipboardScope open(*this);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, Size);
    if (!data) throw EOutOfMemory("Out of memory");
    std::memcpy(GlobalLock(data), Buffer, Size);
    GlobalUnlock(data);
    adding();
    if (!SetClipboardData(Format, data)) GlobalFree(data);
}

AnsiString TClipboard::AsText() {
    OpenClipboardScope open(*this);
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return AnsiString();
    const auto* text = static_cast<const char*>(GlobalLock(data));
    AnsiString result = text ? AnsiString(text, strnlen(text, GlobalSize(data))) : AnsiString();
    GlobalUnlock(data);
    return result;
}

void TClipboard::SetAsText(const AnsiString& Value) {
    setBuffer(CF_TEXT, Value.c_str(), Value.size() + 1);
}

void TClipboard::SetTextBuf(const char* Buffer) {
    setBuffer(CF_TEXT, Buffer, std::strlen(Buffer) + 1);
}

Integer TClipboard::GetTextBuf(char* Buffer, Integer BufSize) {
    if (BufSize <= 0) return 0;
    const AnsiString text = AsText();
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(BufSize - 1));
    std::memcpy(Buffer, text.data(), count);
    Buffer[count] = '\0';
    return static_cast<Integer>(count);
}

Integer TClipboard::FormatCount() {
    return CountClipboardFormats();
}

Word TClipboard::Formats(Integer Index) {
    OpenClipboardScope open(*this);
    UINT format = 0;
    for (Integer i = 0; i <= Index; ++i) {
        format = EnumClipboardFormats(format);
        if (format == 0) break;
    }
    return static_cast<Word>(format);
}

void TClipboard::Assign(TPersistent* Source) {
    TGraphic* graphic = nullptr;
    if (auto* picture = dynamic_cast<TPicture*>(Source))
        graphic = picture->Graphic();
    else
        graphic = dynamic_cast<TGraphic*>(Source);
    if (!graphic) {
        TPersistent::Assign(Source);
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(graphic);
    if (!bitmap) throw EInvalidGraphic(SIconToClipboard);
    // The clipboard owns what it is given: a copy of the bitmap.
    std::unique_ptr<TGraphic> copy = bitmap->Clone();
    HBITMAP handle = static_cast<TBitmap*>(copy.get())->ReleaseHandle();
    OpenClipboardScope open(*this);
    adding();
    SetClipboardData(CF_BITMAP, handle);
}

// A picture reads the first format on the clipboard that some graphic class
// was announced for.
void TClipboard::AssignTo(TPersistent* Dest) {
    if (auto* picture = dynamic_cast<TPicture*>(Dest)) {
        OpenClipboardScope open(*this);
        for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
            if (TPicture::SupportsClipboardFormat(static_cast<Word>(format)))
                return picture->LoadFromClipboardFormat(static_cast<Word>(format), GetClipboardData(format));
        throw EInvalidGraphic(SUnknownClipboardFormat);
    }
    auto* bitmap = dynamic_cast<TBitmap*>(Dest);
    if (!bitmap) {
        TPersistent::AssignTo(Dest);
        return;
    }
    OpenClipboardScope open(*this);
    bitmap->LoadFromClipboardFormat(CF_BITMAP, GetClipboardData(CF_BITMAP));
}

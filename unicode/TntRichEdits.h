// The rich edit with UTF-16 text. Its Unicode window counts a line break as
// one character (CR) where the rest of the program counts two (CR LF): the
// control's positions and the program's are converted both ways, texts come
// and go with CR LF breaks, and an RTF document set as text is loaded as RTF.
#pragma once

#include "platform/vcl/RichEdits.h"
#include "platform/win/CommCtrl.h"
#include "unicode/TntControls.h"
#include "unicode/TntStdCtrls.h"
#include "unicode/TntSysUtils.h"

#include <memory>

class TTntCustomRichEdit;

// The rich edit's wide lines. Files and streams hold plain wide text with
// PlainText, else RTF through the framework's lines (with the ANSI file name).
class TTntRichEditStrings : public TTntMemoStrings {
public:
    explicit TTntRichEditStrings(TTntCustomRichEdit* RichEdit);
    // Without a change notification for the replaced text.
    void SetTextStr(const WideString& Value) override;
    // Without selection-change notifications for every added line.
    using TTntMemoStrings::AddStrings;
    void AddStrings(TWideStrings* Strings) override;
    void LoadFromFile(const WideString& FileName) override;
    void SaveToFile(const WideString& FileName) override;
    void LoadFromStream_BOM(TStream* Stream, bool WithBOM) override;
    void SaveToStream_BOM(TStream* Stream, bool WithBOM) override;

private:
    TTntCustomRichEdit* richEdit_;
};

class TTntCustomRichEdit : public TTntHinted<TCustomRichEdit> {
public:
    explicit TTntCustomRichEdit(TComponent* AOwner);
    ~TTntCustomRichEdit() override;

    // tlbsCR on the Unicode platform when "RICHED20.DLL" loads, else tlbsCRLF.
    static TTntTextLineBreakStyle LineBreakStyle();

    WideString Text();
    // An RTF document is loaded whole; other text with its breaks made the control's.
    void SetText(const WideString& Value);
    WideString WideSelText();
    void SetWideSelText(const WideString& Value);
    // EM_SETTEXTEX with Flags (0 the whole text, 2 the selection) in the system code page.
    void SetRTFText(DWORD Flags, const AnsiString& RTF);
    // The CR LF position of SearchStr within Length characters from StartPos, or -1.
    Integer FindText(const WideString& SearchStr, Integer StartPos, Integer Length, TSearchTypes Options);
    // A control position in CR LF counting, and back.
    Integer EmulatedCharPos(Integer Pos);
    Integer RawWin32CharPos(Integer Pos);
    // The older names of the two: a position got from the control, and one to give it.
    Integer CharPosToGet(Integer Pos) { return EmulatedCharPos(Pos); }
    Integer CharPosToSet(Integer Pos) { return RawWin32CharPos(Pos); }
    TTntStrings* Lines() const { return lines_.get(); }
    void SetRichEditStrings(TTntStrings* Value) { lines_->Assign(Value); }
    // While the framework prints, the window's text length is the text's in
    // the control's own counting, which is where its page layout ends.
    void Print(const AnsiString& Caption) override;

    // The selection in CR LF counting.
    Integer GetSelStart() override;
    void SetSelStart(Integer Value) override;
    Integer GetSelLength() override;
    void SetSelLength(Integer Value) override;
    AnsiString GetSelText() override;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWindowHandle(const TCreateParams& Params) override;

private:
    friend class TTntRichEditStrings;
    TStrings* richLines() const { return TCustomRichEdit::Lines(); }
    CHARRANGE selection();
    Integer lineStart(Integer Line);
    Integer lineLength(Integer Line);

    std::unique_ptr<TTntRichEditStrings> lines_;
    Integer printingTextLength_ = 0;
};

class TTntRichEdit : public TTntCustomRichEdit {
public:
    using TTntCustomRichEdit::TTntCustomRichEdit;
};

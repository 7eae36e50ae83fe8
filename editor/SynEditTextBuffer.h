// The editor's text: the line buffer with a highlighter range and a cached
// tab-expanded length per line, loaded from and saved to text files with any
// line-break convention; and the undo list that records changes to it.
#pragma once

#include "editor/SynEditMiscProcs.h"
#include "editor/SynEditTypes.h"
#include "platform/core/Classes.h"
#include "platform/core/Exceptions.h"

#include <deque>
#include <memory>

class ESynEditStringList : public Exception {
public:
    using Exception::Exception;
};

// The line-break convention of a text file.
enum TSynEditFileFormat : Byte { sffDos, sffUnix, sffMac };

// Reports the first line concerned and the number of lines.
using TStringListChangeEvent = Closure<void(TObject* Sender, Integer Index, Integer Count)>;

class TSynEditStringRecList;

// Events fire inside an update bracket, so a listener sees OnChanging, the
// specific event (OnInserted, OnDeleted, OnPutted, OnCleared), then OnChange.
// Reading operations accept any index and give an empty result outside the
// list; writing operations raise ESynEditStringList for a bad index.
class TSynEditStringList : public TStrings {
public:
    TSynEditStringList();
    ~TSynEditStringList() override;

    AnsiString Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    Integer GetCapacity() const override;
    void SetCapacity(Integer NewCapacity) override;
    // The lines separated by CR LF, with no break after the last one.
    AnsiString GetTextStr() const override;

    Integer Add(const AnsiString& S) override;
    void AddStrings(TStrings* Strings) override;
    void Clear() override;
    void Delete(Integer Index) override;
    void Exchange(Integer Index1, Integer Index2) override;
    void Insert(Integer Index, const AnsiString& S) override;
    // Index Count appends.
    void Put(Integer Index, const AnsiString& S) override;
    void PutObject(Integer Index, TObject* AObject) override;

    // Splits at CR LF, LF CR (two breaks), lone CR and lone LF and remembers
    // the convention; NUL characters stay in the text. A load that fails
    // leaves the list empty and passes the exception on.
    void LoadFromFile(const AnsiString& FileName) override;
    void LoadFromStream(TStream* Stream) override;
    // Writes a new file beside the old one and renames it over it, so that a
    // failure leaves the old file as it was.
    void SaveToFile(const AnsiString& FileName) override;
    void SaveToStream(TStream* Stream) override;

    // The highlighter state at the end of a line; 0 outside the list.
    TSynRangeValue GetRange(Integer Index) const;
    void PutRange(Integer Index, TSynRangeValue Range);
    // The line with its tabs expanded, and the length of that.
    AnsiString GetExpandedString(Integer Index);
    Integer GetExpandedStringLength(Integer Index);
    Integer GetLengthOfLongestLine();

    // Removes up to NumLines lines from Index (fewer when the list ends first).
    void DeleteLines(Integer Index, Integer NumLines);
    // Inserts NumLines empty lines at Index.
    void InsertLines(Integer Index, Integer NumLines);
    // Inserts the lines (not the objects) of Strings at Index.
    void InsertStrings(Integer Index, TStrings* Strings);
    // Inserts the lines of Text, split at CR, LF and CR LF, at Index.
    void InsertText(Integer Index, const AnsiString& Text);

    TSynEditFileFormat FileFormat() const { return fileFormat_; }
    void SetFileFormat(TSynEditFileFormat Value) { fileFormat_ = Value; }
    // False: breaks separate lines. True: every line, the last included, ends in a break.
    bool TrailingLineBreak() const { return trailingLineBreak_; }
    void SetTrailingLineBreak(bool Value) { trailingLineBreak_ = Value; }
    Integer TabWidth() const { return tabWidth_; }
    void SetTabWidth(Integer Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    TNotifyEvent OnCleared;
    TStringListChangeEvent OnDeleted;
    TStringListChangeEvent OnInserted;
    TStringListChangeEvent OnPutted;

protected:
    // Fires OnChanging when the outermost update opens and OnChange when it closes.
    void SetUpdateState(bool Updating) override;

private:
    void checkIndex(Integer Index, Integer Last) const;
    void insertItem(Integer Index, const AnsiString& S);
    AnsiString expandString(Integer Index);
    void fireListChange(const TStringListChangeEvent& Event, Integer Index, Integer Count);
    void loadText(std::unique_ptr<char[]> Text, std::size_t Size);
    AnsiString lineBreak() const;

    std::unique_ptr<TSynEditStringRecList> lines_;
    TSynEditFileFormat fileFormat_ = sffDos;
    bool trailingLineBreak_ = false;
    TConvertTabsProcEx convertTabsProc_ = nullptr;
    Integer indexOfLongestLine_ = -1;
    Integer tabWidth_ = 0;
};

// ---- Undo list ------------------------------------------------------------------

// The kind of a recorded change.
enum TSynChangeReason : Byte {
    crInsert,
    crPaste,
    crDragDropInsert,
    crDeleteAfterCursor,
    crDelete,
    crLineBreak,
    crIndent,
    crUnindent,
    crSilentDelete,
    crSilentDeleteAfterCursor,
    crAutoCompleteBegin,
    crAutoCompleteEnd,
    crPasteBegin,
    crPasteEnd,
    crSpecial1Begin,
    crSpecial1End,
    crSpecial2Begin,
    crSpecial2End,
    crCaret,
    crSelection,
    crNothing,
    crGroupBreak,
    crDeleteAll,
    crWhiteSpaceAdd
};

// One recorded change. Items with the same ChangeNumber are undone together.
class TSynEditUndoItem : public TPersistent {
public:
    TSynEditUndoItem() = default;
    // Copy and move take every field, as Assign does.
    TSynEditUndoItem(const TSynEditUndoItem& Other);
    TSynEditUndoItem(TSynEditUndoItem&& Other) noexcept;
    TSynEditUndoItem& operator=(const TSynEditUndoItem& Other);
    TSynEditUndoItem& operator=(TSynEditUndoItem&& Other) noexcept;

    void Assign(TPersistent* Source) override;

    // The text removed or inserted, as the editor records it.
    AnsiString ChangeText() const;
    void SetChangeText(const AnsiString& Text);

    TBufferCoord StartPos;
    TBufferCoord EndPos;
    Integer ChangeNumber = 0;
    TSynChangeReason Reason = crNothing;
    TSynSelectionMode SelectionMode = smNormal;

private:
    // Most items (a typed character) carry no text; the text lives outside
    // the item so that such an item stays small.
    std::unique_ptr<char[]> text_;
    Cardinal textLength_ = 0;
};

// A stack of change items for undo or redo.
class TSynEditUndoList : public TPersistent {
public:
    TSynEditUndoList();
    ~TSynEditUndoList() override;

    // Records one change (nothing while locked); inside a block the item
    // takes the block's change number.
    void AddChange(TSynChangeReason Reason, const TBufferCoord& StartPos, const TBufferCoord& EndPos,
                   const AnsiString& ChangeText, TSynSelectionMode SelectionMode);
    void BeginBlock();
    void EndBlock();
    // Ends the current group of changes, unless the newest item already does.
    void AddGroupBreak();

    void PushItem(std::unique_ptr<TSynEditUndoItem> Item);
    // The newest item, handed to the caller; null when the list is empty.
    std::unique_ptr<TSynEditUndoItem> PopItem();
    // The newest item, still the list's; null when the list is empty.
    TSynEditUndoItem* PeekItem();
    TSynChangeReason LastChangeReason() const;

    void Lock();
    void Unlock();
    void Clear();

    bool GetCanUndo() const { return !items_.empty(); }
    Integer GetItemCount() const { return static_cast<Integer>(items_.size()); }
    TSynEditUndoItem* GetItems(Integer Index);
    // Replaces the values of the item at Index with those of Item.
    void SetItems(Integer Index, const TSynEditUndoItem& Item);
    void DeleteItem(Integer Index);

    Integer GetMaxUndoActions() const { return maxUndoActions_; }
    void SetMaxUndoActions(Integer Value);
    // Whether the newest item marks the unchanged text.
    bool GetInitialState() const;
    void SetInitialState(bool Value);

    Integer GetBlockChangeNumber() const { return blockChangeNumber_; }
    void SetBlockChangeNumber(Integer Value) { blockChangeNumber_ = Value; }
    Integer GetBlockCount() const { return blockCount_; }
    bool GetFullUndoImpossible() const { return fullUndoImpossible_; }
    bool GetInsideRedo() const { return insideRedo_; }
    void SetInsideRedo(bool Value) { insideRedo_ = Value; }

    void Assign(TPersistent* Source) override;

    // Fires after an item other than a group break was added, and when the
    // outermost block closes with items of its own.
    TNotifyEvent OnAddedUndo;

private:
    void advanceChangeNumber();
    void trim();
    TSynEditUndoItem& itemAt(Integer Index);

    Integer blockChangeNumber_ = 0;
    Integer blockCount_ = 0;
    bool fullUndoImpossible_ = false;
    // Oldest first; trimming drops from the front.
    std::deque<TSynEditUndoItem> items_;
    Integer lockCount_ = 0;
    Integer maxUndoActions_ = 1024;
    Integer nextChangeNumber_ = 1;
    Integer initialChangeNumber_ = 0;
    bool insideRedo_ = false;
};

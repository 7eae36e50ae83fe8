// Word wrap: splits each tab-expanded line of an editor into display rows no
// wider than its text area and maps buffer positions to display positions and back.
#pragma once

#include "editor/SynEdit.h"
#include "editor/SynEditTypes.h"

#include <cstdint>
#include <vector>

// What the editor drives any buffer plug-in through. The editor owns the
// plug-in; it reports every change of its line buffer to it.
class ISynEditBufferPlugin {
public:
    virtual ~ISynEditBufferPlugin() = default;

    virtual TDisplayCoord BufferToDisplayPos(const TBufferCoord& Pos) = 0;
    virtual TBufferCoord DisplayToBufferPos(const TDisplayCoord& Pos) = 0;
    virtual Integer RowCount() = 0;
    virtual Integer GetRowLength(Integer Row) = 0;
    // Each returns the change in rows the notification caused.
    virtual Integer LinesInserted(Integer Index, Integer Count) = 0;
    virtual Integer LinesDeleted(Integer Index, Integer Count) = 0;
    virtual Integer LinesPutted(Integer Index, Integer Count) = 0;
    // The text area's size or font changed.
    virtual void DisplayChanged() = 0;
    virtual void Reset() = 0;
};

using TLineIndex = std::int32_t;
using TRowIndex = std::int32_t;
// A row never holds more characters than one byte can count.
using TRowLength = std::uint8_t;

// Here a buffer position's character is a column of the tab-expanded line;
// the editor converts between characters and expanded columns. Lines past the
// wrapped ones, and rows past the last row, map one to one.
class TSynWordWrapPlugin : public ISynEditBufferPlugin {
public:
    // Raises Exception when AOwner is missing.
    explicit TSynWordWrapPlugin(TCustomSynEdit* AOwner);

    TDisplayCoord BufferToDisplayPos(const TBufferCoord& Pos) override;
    TBufferCoord DisplayToBufferPos(const TDisplayCoord& Pos) override;
    Integer RowCount() override;
    // Raises EListError for a Row outside 1..RowCount.
    Integer GetRowLength(Integer Row) override;
    Integer LinesInserted(Integer Index, Integer Count) override;
    Integer LinesDeleted(Integer Index, Integer Count) override;
    Integer LinesPutted(Integer Index, Integer Count) override;
    void DisplayChanged() override;
    void Reset() override;

protected:
    // The active code page's lead-byte test; the platform's code page is
    // single-byte, so tests override it to exercise double-byte text.
    virtual bool IsLeadByte(char C) const;

private:
    void WrapLines();
    Integer ReWrapLine(TLineIndex Index);
    void GrowLines(Integer Min);
    void GrowRows(Integer Min);
    void MoveLines(TLineIndex Start, Integer By);
    void MoveRows(TRowIndex Start, Integer By);
    void SetEmpty();
    void TrimArrays();

    Integer widthInCharacters() const;
    // The row lengths of one line, written into rowsOfLine_.
    void breakLine(TLineIndex Index);
    TRowIndex firstRowOfLine(TLineIndex Index) const;
    void checkLineRange(TLineIndex Index, Integer Count) const;

    // Per line, the number of rows up to and including it; the vector's size is its capacity.
    std::vector<TRowIndex> lineOffsets_;
    // Per row, its length; the vector's size is its capacity.
    std::vector<TRowLength> rowLengths_;
    Integer lineCount_ = 0;
    TCustomSynEdit* editor_;
    // No break is sought in the first minRowLength_ characters of a row.
    TRowLength minRowLength_ = 0;
    TRowLength maxRowLength_ = 0;
    TSynIdentChars breakChars_;
    std::vector<TRowLength> rowsOfLine_;
};

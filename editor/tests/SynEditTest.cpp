// The editor control in a headless form: its defaults, and what it paints
// for text, selection, right edge and gutter, checked by pixels.
#include "editor/SynEdit.h"
#include "editor/tests/SynEditTestSupport.h"
#include "highlighters/SynHighlighterJScript.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <filesystem>

namespace {

class SynEditTest : public SynEditOnFormTest {
protected:
    void SetUp() override {
        SynEditOnFormTest::SetUp();
        // The caret would invert the pixels of the cell it stands on.
        edit->SetOptions(edit->Options() + TSynEditorOptions{eoNoCaret});
    }

    // The handlers of a test live on its stack; the form outlives them.
    void TearDown() override {
        edit->OnChange = nullptr;
        edit->OnPaint = nullptr;
        edit->OnPaintTransient = nullptr;
        edit->OnSpecialLineColors = nullptr;
        edit->OnGutterGetText = nullptr;
        edit->OnGutterPaint = nullptr;
        edit->OnStatusChange = nullptr;
        edit->OnPlaceBookmark = nullptr;
        VisualTest::TearDown();
    }

    void paint() {
        edit->Invalidate();
        edit->Update();
    }

    TColor pixel(Integer X, Integer Y) { return PixelAt(edit->Handle(), TPoint{X, Y}); }

    // The x of the left side of display column Column.
    Integer columnX(Integer Column) const { return edit->TextOffset() + (Column - 1) * edit->CharWidth(); }
    Integer rowY(Integer Row) const { return (Row - edit->TopLine()) * edit->LineHeight(); }

    // Whether any pixel of the cell differs from Background.
    bool cellHasInk(Integer Column, Integer Row, TColor Background) {
        for (Integer y = rowY(Row); y < rowY(Row) + edit->LineHeight(); ++y)
            for (Integer x = columnX(Column); x < columnX(Column) + edit->CharWidth(); ++x)
                if (pixel(x, y) != Background) return true;
        return false;
    }

    // The cell's colour that is not Ink: the background it was painted on.
    TColor cellBackground(Integer Column, Integer Row) { return pixel(columnX(Column), rowY(Row) + 1); }
};

TEST_F(SynEditTest, ConstructionDefaults) {
    TSynEdit plain(nullptr);
    EXPECT_EQ(plain.Options().Bits(), 0x026C0192u);
    EXPECT_EQ(plain.Options(), (TSynEditorOptions{eoAutoIndent, eoDragDropEditing, eoEnhanceEndKey,
                                                  eoGroupUndo, eoScrollPastEol, eoShowScrollHint,
                                                  eoSmartTabDelete, eoSmartTabs, eoTabsToSpaces}));
    EXPECT_EQ(plain.Font()->Name(), "Courier New");
    EXPECT_EQ(plain.Font()->Size(), 10);
    EXPECT_EQ(plain.Width(), 200);
    EXPECT_EQ(plain.Height(), 150);
    EXPECT_EQ(plain.Cursor(), crIBeam);
    EXPECT_EQ(plain.Color(), clWindow);
    EXPECT_FALSE(plain.ParentFont());
    EXPECT_FALSE(plain.ParentColor());
    EXPECT_TRUE(plain.TabStop());
    EXPECT_EQ(plain.RightEdge(), 80);
    EXPECT_EQ(plain.RightEdgeColor(), clSilver);
    EXPECT_EQ(plain.ScrollHintColor(), clInfoBk);
    EXPECT_EQ(plain.ScrollHintFormat(), shfTopLineOnly);
    EXPECT_EQ(plain.ScrollBars(), ssBoth);
    EXPECT_EQ(plain.BorderStyle(), bsSingle);
    EXPECT_EQ(plain.ActiveLineColor(), clNone);
    EXPECT_EQ(plain.SelectedColor()->Background(), clHighlight);
    EXPECT_EQ(plain.SelectedColor()->Foreground(), clHighlightText);
    EXPECT_EQ(plain.InsertCaret(), ctVerticalLine);
    EXPECT_EQ(plain.OverwriteCaret(), ctBlock);
    EXPECT_TRUE(plain.InsertMode());
    EXPECT_FALSE(plain.ReadOnly());
    EXPECT_EQ(plain.MaxScrollWidth(), 1024);
    EXPECT_EQ(plain.MaxUndo(), 1024);
    EXPECT_EQ(plain.TabWidth(), 8);
    EXPECT_TRUE(plain.WantReturns());
    EXPECT_FALSE(plain.WantTabs());
    EXPECT_FALSE(plain.WordWrap());
    EXPECT_EQ(plain.SelectionMode(), smNormal);
    EXPECT_EQ(plain.ActiveSelectionMode(), smNormal);
    EXPECT_EQ(plain.ExtraLineSpacing(), 0);
    EXPECT_FALSE(plain.HideSelection());
    EXPECT_EQ(plain.TopLine(), 1);
    EXPECT_EQ(plain.LeftChar(), 1);
    EXPECT_EQ(plain.CaretX(), 1);
    EXPECT_EQ(plain.CaretY(), 1);
    EXPECT_EQ(plain.BlockBegin(), BufferCoord(1, 1));
    EXPECT_EQ(plain.BlockEnd(), BufferCoord(1, 1));
    EXPECT_EQ(plain.GutterWidth(), plain.Gutter()->Width());
    EXPECT_EQ(plain.TextOffset(), plain.GutterWidth() + 2);
    EXPECT_GT(plain.CharWidth(), 0);
    EXPECT_GT(plain.LineHeight(), 0);
    EXPECT_EQ(plain.Highlighter(), nullptr);
    EXPECT_TRUE(plain.WordWrapGlyph()->Visible());
}

TEST_F(SynEditTest, ExtraLineSpacingMakesRowsTaller) {
    const Integer height = edit->LineHeight();
    edit->SetExtraLineSpacing(2);
    EXPECT_EQ(edit->LineHeight(), height + 2);
}

TEST_F(SynEditTest, WindowSizeGivesVisibleCellsAndRows) {
    EXPECT_EQ(edit->CharsInWindow(), (edit->ClientWidth() - edit->GutterWidth() - 2) / edit->CharWidth());
    EXPECT_EQ(edit->LinesInWindow(), edit->ClientHeight() / edit->LineHeight());
}

TEST_F(SynEditTest, PaintsTextCellsInFontColourOnBackground) {
    edit->Lines()->SetText("ab\r\n\r\nx");
    paint();
    const TColor background = ColorToRGB(clWindow);
    EXPECT_TRUE(cellHasInk(1, 1, background));
    EXPECT_TRUE(cellHasInk(2, 1, background));
    EXPECT_FALSE(cellHasInk(3, 1, background));
    EXPECT_FALSE(cellHasInk(1, 2, background));
    EXPECT_TRUE(cellHasInk(1, 3, background));
    EXPECT_FALSE(cellHasInk(1, 4, background));
}

TEST_F(SynEditTest, SelectionIsPaintedInSelectedColours) {
    edit->Lines()->SetText("abcdef\r\nghijkl");
    edit->SelectedColor()->SetBackground(clRed);
    edit->SetBlockBegin(BufferCoord(3, 1));
    edit->SetBlockEnd(BufferCoord(2, 2));
    paint();
    EXPECT_EQ(cellBackground(2, 1), ColorToRGB(clWindow));
    EXPECT_EQ(cellBackground(3, 1), ColorToRGB(clRed));
    EXPECT_EQ(cellBackground(10, 1), ColorToRGB(clRed)) << "the selection runs to the end of the row";
    EXPECT_EQ(cellBackground(1, 2), ColorToRGB(clRed));
    EXPECT_EQ(cellBackground(2, 2), ColorToRGB(clWindow));
}

TEST_F(SynEditTest, HiddenSelectionWithoutFocusIsPaintedUnselected) {
    edit->Lines()->SetText("abcdef");
    edit->SelectedColor()->SetBackground(clRed);
    edit->SetBlockBegin(BufferCoord(1, 1));
    edit->SetBlockEnd(BufferCoord(4, 1));
    edit->SetHideSelection(true);
    TSynEdit* other = new TSynEdit(form.get());
    other->SetBounds(0, 0, 10, 10);
    other->SetParent(form.get());
    other->SetFocus();
    ASSERT_FALSE(edit->Focused());
    paint();
    EXPECT_EQ(cellBackground(2, 1), ColorToRGB(clWindow));
}

TEST_F(SynEditTest, SpecialLineSelectionSwapsLineColours) {
    struct Handler : TObject {
        void Colours(TObject*, Integer Line, bool& Special, TColor& FG, TColor& BG) {
            if (Line != 1) return;
            Special = true;
            FG = clYellow;
            BG = clNavy;
        }
    } handler;
    edit->OnSpecialLineColors = TSpecialLineColorsEvent(&handler, &Handler::Colours);
    edit->Lines()->SetText("abcdef");
    edit->SetBlockBegin(BufferCoord(1, 1));
    edit->SetBlockEnd(BufferCoord(3, 1));
    paint();
    EXPECT_EQ(cellBackground(1, 1), ColorToRGB(clYellow));
    EXPECT_EQ(cellBackground(5, 1), ColorToRGB(clNavy));
}

TEST_F(SynEditTest, AnEmptySpecialLineTakesItsColourUnderAHighlighter) {
    struct Handler : TObject {
        void Colours(TObject*, Integer Line, bool& Special, TColor&, TColor& BG) {
            Special = Line == 2;
            if (Special) BG = clNavy;
        }
    } handler;
    TSynJScriptSyn highlighter(nullptr);
    edit->SetHighlighter(&highlighter);
    edit->OnSpecialLineColors = TSpecialLineColorsEvent(&handler, &Handler::Colours);
    edit->Lines()->SetText("a\r\n\r\nb");
    paint();
    EXPECT_EQ(cellBackground(3, 2), ColorToRGB(clNavy));
    EXPECT_EQ(cellBackground(3, 3), ColorToRGB(clWindow));
    edit->SetHighlighter(nullptr);
}

TEST_F(SynEditTest, RightEdgeLineSitsLeftOfTheColumnAfterIt) {
    edit->Lines()->SetText("a");
    edit->SetRightEdge(10);
    edit->SetRightEdgeColor(clLime);
    paint();
    const Integer x = edit->TextOffset() + 10 * edit->CharWidth();
    EXPECT_EQ(pixel(x, 2), ColorToRGB(clLime));
    EXPECT_EQ(pixel(x, 200), ColorToRGB(clLime)) << "below the text as well";
    edit->SetRightEdge(0);
    paint();
    EXPECT_EQ(pixel(x, 2), ColorToRGB(clWindow));
}

TEST_F(SynEditTest, GutterShowsRightAlignedLineNumbers) {
    edit->Gutter()->SetShowLineNumbers(true);
    edit->Gutter()->SetColor(clAqua);
    edit->Lines()->SetText("one\r\ntwo");
    paint();
    const Integer gutter = edit->GutterWidth();
    auto inkInGutterRow = [&](Integer Row) {
        for (Integer y = rowY(Row); y < rowY(Row) + edit->LineHeight(); ++y)
            for (Integer x = 0; x < gutter - 2; ++x)
                if (pixel(x, y) != ColorToRGB(clAqua)) return true;
        return false;
    };
    EXPECT_TRUE(inkInGutterRow(1));
    EXPECT_TRUE(inkInGutterRow(2));
    EXPECT_FALSE(inkInGutterRow(3));
    EXPECT_EQ(pixel(1, rowY(1) + 1), ColorToRGB(clAqua));
    EXPECT_EQ(pixel(gutter - 2, 5), ColorToRGB(edit->Gutter()->BorderColor()));
    edit->Lines()->Clear();
    paint();
    EXPECT_TRUE(inkInGutterRow(1)) << "an empty editor numbers its one row";
    EXPECT_FALSE(inkInGutterRow(2));
}

TEST_F(SynEditTest, PaintEventsAndGutterTextFire) {
    struct Recorder : TObject {
        int paints = 0;
        std::vector<Integer> gutterLines;
        std::vector<Integer> gutterPaints;
        void Painted(TObject*, TCanvas*) { ++paints; }
        void GutterPainted(TObject*, Integer aLine, Integer, Integer) { gutterPaints.push_back(aLine); }
        void GutterText(TObject*, Integer aLine, AnsiString& aText) {
            gutterLines.push_back(aLine);
            aText = "*";
        }
    } recorder;
    edit->OnPaint = TPaintEvent(&recorder, &Recorder::Painted);
    edit->OnGutterGetText = TGutterGetTextEvent(&recorder, &Recorder::GutterText);
    edit->OnGutterPaint = TGutterPaintEvent(&recorder, &Recorder::GutterPainted);
    edit->Gutter()->SetShowLineNumbers(true);
    edit->Lines()->SetText("a\r\nb\r\nc");
    paint();
    EXPECT_GE(recorder.paints, 1);
    EXPECT_EQ(recorder.gutterLines, (std::vector<Integer>{1, 2, 3}));
    EXPECT_EQ(recorder.gutterPaints, (std::vector<Integer>{1, 2, 3}));
}

TEST_F(SynEditTest, StatusChangesWaitForThePaintLock) {
    struct Recorder : TObject {
        std::vector<TSynStatusChanges> changes;
        void Changed(TObject*, TSynStatusChanges Changes) { changes.push_back(Changes); }
    } recorder;
    edit->OnStatusChange = TStatusChangeEvent(&recorder, &Recorder::Changed);
    edit->IncPaintLock();
    edit->SetReadOnly(true);
    edit->SetInsertMode(false);
    EXPECT_TRUE(recorder.changes.empty());
    edit->DecPaintLock();
    ASSERT_EQ(recorder.changes.size(), 1u);
    EXPECT_EQ(recorder.changes[0], (TSynStatusChanges{scReadOnly, scInsertMode}));
    EXPECT_THROW(edit->DecPaintLock(), EAssertionFailed);
}

TEST_F(SynEditTest, HighlightedJavaScriptPaintsAndSavesAPicture) {
    TSynJScriptSyn highlighter(nullptr);
    edit->SetHighlighter(&highlighter);
    edit->Gutter()->SetShowLineNumbers(true);
    edit->Lines()->SetText("// greeting\r\nfunction hello(name) {\r\n  return \"Hi \" + name;\r\n}");
    edit->SetBlockBegin(BufferCoord(3, 2));
    edit->SetBlockEnd(BufferCoord(9, 3));
    paint();
    EXPECT_TRUE(cellHasInk(1, 2, cellBackground(1, 2)) || cellHasInk(2, 2, cellBackground(1, 2)));
    EXPECT_EQ(cellBackground(12, 2), ColorToRGB(clHighlight));
    // For a person to look at: ctest runs the tests in the build folder of this layer.
    const std::filesystem::path picture = std::filesystem::current_path() / "synedit-javascript.png";
    EXPECT_TRUE(backend.SavePng(edit->Handle(), picture.string(), true));
    EXPECT_TRUE(std::filesystem::exists(picture));
    edit->SetHighlighter(nullptr);
}

// An editor that records the rectangles it invalidates.
class TRecordingSynEdit : public TSynEdit {
public:
    using TSynEdit::TSynEdit;
    std::vector<TRect> invalidated;
    void InvalidateRect(const TRect& aRect, bool aErase) override {
        invalidated.push_back(aRect);
        TSynEdit::InvalidateRect(aRect, aErase);
    }
};

class SynEditInvalidationTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TRecordingSynEdit* edit = nullptr;

    void SetUp() override {
        VisualTest::SetUp();
        edit = placeEditor<TRecordingSynEdit>(*form);
        form->Show();
        edit->Lines()->SetText("1\r\n2\r\n3\r\n4\r\n5");
        edit->Update();
        edit->invalidated.clear();
    }
};

TEST_F(SynEditInvalidationTest, LinesAndGutterLinesInvalidateTheirRows) {
    const Integer h = edit->LineHeight();
    const Integer g = edit->GutterWidth();
    const Integer w = edit->ClientWidth();
    edit->InvalidateLines(4, 2);
    edit->InvalidateGutterLine(3);
    edit->InvalidateGutterLine(0);
    edit->InvalidateGutterLine(6);
    edit->InvalidateLines(-1, -1);
    edit->InvalidateGutter();
    edit->InvalidateLine(5);
    EXPECT_EQ(edit->invalidated,
              (std::vector<TRect>{TRect{g, h, w, 4 * h}, TRect{0, 2 * h, g, 3 * h},
                                  TRect{g, 0, w, edit->ClientHeight()}, TRect{0, 0, g, edit->ClientHeight()},
                                  TRect{g, 4 * h, w, 5 * h}}));
}

TEST_F(SynEditInvalidationTest, LastLineStandsForTheBottomOfTheText) {
    const Integer h = edit->LineHeight();
    edit->InvalidateLines(5, 5);
    ASSERT_EQ(edit->invalidated.size(), 1u);
    EXPECT_EQ(edit->invalidated[0].Top, 4 * h);
    EXPECT_EQ(edit->invalidated[0].Bottom, (edit->LinesInWindow() + 1) * h);
}

TEST_F(SynEditInvalidationTest, ChangesWhileTheBufferChangesAreCollected) {
    edit->Lines()->BeginUpdate();
    edit->InvalidateLines(1, 1);
    edit->InvalidateLines(3, 3);
    EXPECT_TRUE(edit->invalidated.empty());
    edit->Lines()->EndUpdate();
    ASSERT_FALSE(edit->invalidated.empty());
    const Integer h = edit->LineHeight();
    EXPECT_EQ(edit->invalidated[0], (TRect{edit->GutterWidth(), 0, edit->ClientWidth(), 3 * h}));
}

TEST_F(SynEditTest, MarkListOwnsMarksAndKeepsOnlyBookmarksOnClearLine) {
    TSynEditMarkList& marks = *edit->Marks();
    auto* bookmark = new TSynEditMark(edit);
    bookmark->SetBookmarkNumber(1);
    bookmark->SetLine(2);
    marks.Add(bookmark);
    for (int i = 0; i < 2; ++i) {
        auto* other = new TSynEditMark(edit);
        other->SetLine(2);
        marks.Add(other);
    }
    marks.ClearLine(2);
    ASSERT_EQ(marks.Count(), 1);
    EXPECT_EQ(marks.First(), bookmark);
    EXPECT_TRUE(edit->IsBookmark(1));
    EXPECT_FALSE(edit->IsBookmark(2));

    marks.Extract(bookmark);
    EXPECT_EQ(bookmark->GetEdit(), nullptr) << "a mark out of the list reports no editor";
    delete bookmark;
}

TEST_F(SynEditTest, MarksForALineStopAtSixteen) {
    for (int i = 0; i < 20; ++i) {
        auto* mark = new TSynEditMark(edit);
        mark->SetLine(i % 2 == 0 ? 1 : 2);
        mark->SetImage(i);
        edit->Marks()->Add(mark);
    }
    TSynEditMarks found;
    edit->Marks()->GetMarksForLine(1, found);
    EXPECT_EQ(found[0]->ImageIndex(), 0);
    EXPECT_EQ(found[9]->ImageIndex(), 18);
    EXPECT_EQ(found[10], nullptr);
    for (int i = 0; i < 20; ++i)
        edit->Marks()->Items(i)->SetLine(3);
    edit->Marks()->GetMarksForLine(3, found);
    EXPECT_EQ(found[15]->ImageIndex(), 15);
}

TEST_F(SynEditTest, DeletedAndInsertedLinesMoveMarks) {
    const std::vector<Integer> lines{2, 3, 4, 6};
    for (Integer line : lines) {
        auto* mark = new TSynEditMark(edit);
        mark->SetLine(line);
        edit->Marks()->Add(mark);
    }
    edit->DoLinesDeleted(3, 2);
    std::vector<Integer> moved;
    for (Integer i = 0; i < edit->Marks()->Count(); ++i)
        moved.push_back(edit->Marks()->Items(i)->Line());
    EXPECT_EQ(moved, (std::vector<Integer>{2, 3, 3, 4}));
    edit->DoLinesInserted(3, 1);
    EXPECT_EQ(edit->Marks()->Items(0)->Line(), 2);
    EXPECT_EQ(edit->Marks()->Items(3)->Line(), 5);
}

TEST_F(SynEditTest, PlaceLetsTheHandlerDropTheMark) {
    struct Handler : TObject {
        void Place(TObject*, TSynEditMark*& Mark) {
            delete Mark;
            Mark = nullptr;
        }
    } handler;
    edit->OnPlaceBookmark = TPlaceMarkEvent(&handler, &Handler::Place);
    edit->Marks()->Place(new TSynEditMark(edit));
    EXPECT_EQ(edit->Marks()->Count(), 0);
}

TEST_F(SynEditTest, GutterDrawsInternalBookmarkImages) {
    edit->Lines()->SetText("a\r\nb");
    edit->Gutter()->SetColor(clAqua);
    auto* mark = new TSynEditMark(edit);
    mark->SetLine(2);
    mark->SetImage(3);
    mark->SetInternalImage(true);
    mark->SetVisible(true);
    edit->Marks()->Add(mark);
    paint();
    auto gutterRowHasPicture = [&](Integer Row) {
        for (Integer y = rowY(Row); y < rowY(Row) + edit->LineHeight(); ++y)
            for (Integer x = 0; x < edit->GutterWidth() - 2; ++x)
                if (pixel(x, y) != ColorToRGB(clAqua)) return true;
        return false;
    };
    EXPECT_FALSE(gutterRowHasPicture(1));
    EXPECT_TRUE(gutterRowHasPicture(2));
    mark->SetImage(10);
    paint();
    EXPECT_FALSE(gutterRowHasPicture(2)) << "only pictures 0 to 9 exist";
}

TEST_F(SynEditTest, AFreedBookmarkImageListIsLetGo) {
    edit->Lines()->SetText("a\r\nb");
    auto* images = new TImageList(nullptr);
    edit->BookMarkOptions()->SetBookmarkImages(images);
    auto* mark = new TSynEditMark(edit);
    mark->SetLine(1);
    mark->SetVisible(true);
    edit->Marks()->Add(mark);
    delete images;
    EXPECT_EQ(edit->BookMarkOptions()->BookmarkImages(), nullptr);
    paint();
}

struct CommandHooks : TObject {
    std::vector<std::pair<bool, void*>> calls;
    void Consume(TObject*, bool AfterProcessing, bool& Handled, TSynEditorCommand&, char&, void*,
                 void* HandlerData) {
        calls.emplace_back(AfterProcessing, HandlerData);
        Handled = !AfterProcessing;
    }
    void Watch(TObject*, bool AfterProcessing, bool&, TSynEditorCommand&, char&, void*, void* HandlerData) {
        calls.emplace_back(AfterProcessing, HandlerData);
    }
};

TEST_F(SynEditTest, HookedCommandHandlersRegisterOnceAndCanConsumeCommands) {
    CommandHooks hooks;
    int first = 0;
    int second = 0;
    const THookedCommandEvent consume(&hooks, &CommandHooks::Consume);
    edit->RegisterCommandHandler(consume, &first);
    edit->RegisterCommandHandler(consume, &second);
    edit->RegisterCommandHandler(nullptr, &second);
    EXPECT_EQ(edit->GetHookedCommandHandlersCount(), 1);
    edit->UnregisterCommandHandler(THookedCommandEvent(&hooks, &CommandHooks::Watch));
    EXPECT_EQ(edit->GetHookedCommandHandlersCount(), 1);

    TSynEditorCommand command = ecUserFirst;
    char key = 'a';
    edit->NotifyHookedCommandHandlers(true, command, key, nullptr);
    EXPECT_EQ(command, ecUserFirst);
    edit->NotifyHookedCommandHandlers(false, command, key, nullptr);
    EXPECT_EQ(command, ecNone);
    EXPECT_EQ(hooks.calls, (std::vector<std::pair<bool, void*>>{{true, &first}, {false, &first}}));
    edit->UnregisterCommandHandler(consume);
    EXPECT_EQ(edit->GetHookedCommandHandlersCount(), 0);
}

class TRecordingPlugin : public TSynEditPlugin {
public:
    using TSynEditPlugin::TSynEditPlugin;
    std::vector<std::string> calls;
    void AfterPaint(TCanvas*, const TRect&, Integer FirstLine, Integer LastLine) override {
        calls.push_back("paint " + std::to_string(FirstLine) + "-" + std::to_string(LastLine));
    }
    void LinesInserted(Integer FirstLine, Integer Count) override {
        calls.push_back("inserted " + std::to_string(FirstLine) + "+" + std::to_string(Count));
    }
    void LinesDeleted(Integer FirstLine, Integer Count) override {
        calls.push_back("deleted " + std::to_string(FirstLine) + "+" + std::to_string(Count));
    }
};

TEST_F(SynEditTest, PluginsHearPaintingAndLineChangesUntilFreed) {
    edit->Lines()->SetText("a\r\nb\r\nc");
    auto* plugin = new TRecordingPlugin(edit);
    paint();
    edit->DoLinesInserted(2, 1);
    edit->DoLinesDeleted(1, 2);
    ASSERT_EQ(plugin->calls.size(), 3u);
    EXPECT_EQ(plugin->calls[0].rfind("paint 1-", 0), 0u);
    EXPECT_EQ(plugin->calls[1], "inserted 2+1");
    EXPECT_EQ(plugin->calls[2], "deleted 1+2");
    delete plugin;
    paint();
    // The editor frees the plug-ins that remain.
    new TRecordingPlugin(edit);
}

TEST_F(SynEditTest, TransientPaintWaitsForTheOutermostBracket) {
    struct Recorder : TObject {
        std::vector<TTransientType> calls;
        void Transient(TObject*, TCanvas*, TTransientType Type) { calls.push_back(Type); }
    } recorder;
    edit->OnPaintTransient = TPaintTransient(&recorder, &Recorder::Transient);
    edit->DoOnPaintTransientEx(ttBefore, true);
    edit->DoOnPaintTransientEx(ttBefore, true);
    edit->DoOnPaintTransientEx(ttAfter, true);
    EXPECT_EQ(recorder.calls, (std::vector<TTransientType>{ttBefore}));
    edit->DoOnPaintTransientEx(ttAfter, true);
    EXPECT_EQ(recorder.calls, (std::vector<TTransientType>{ttBefore, ttAfter}));
}

TEST_F(SynEditTest, ChangesOutsideUndoBlocksFireOnChangeAndSetModified) {
    struct Recorder : TObject {
        int changes = 0;
        void Changed(TObject*) { ++changes; }
    } recorder;
    edit->OnChange = TNotifyEvent(&recorder, &Recorder::Changed);
    edit->BeginUndoBlock();
    edit->UndoList()->AddChange(crInsert, BufferCoord(1, 1), BufferCoord(2, 1), "", smNormal);
    edit->UndoList()->AddChange(crInsert, BufferCoord(2, 1), BufferCoord(3, 1), "", smNormal);
    EXPECT_EQ(recorder.changes, 0);
    edit->EndUndoBlock();
    EXPECT_EQ(recorder.changes, 1) << "closing the block reports the block";
    edit->UndoList()->AddChange(crInsert, BufferCoord(3, 1), BufferCoord(4, 1), "", smNormal);
    EXPECT_EQ(recorder.changes, 2);
    EXPECT_TRUE(edit->Modified());
    edit->SetModified(false);
    EXPECT_TRUE(edit->UndoList()->GetInitialState());
}

TEST_F(SynEditTest, FocusGoesToTheLastFocusControl) {
    TSynEdit* other = new TSynEdit(form.get());
    other->SetParent(form.get());
    edit->AddFocusControl(other);
    edit->SetFocus();
    EXPECT_TRUE(other->Focused());
    edit->RemoveFocusControl(other);
    edit->SetFocus();
    EXPECT_TRUE(edit->Focused());
}

TEST_F(SynEditTest, SpecialCharactersShowSpacesAndLineEnds) {
    edit->Lines()->SetText("a b\r\n");
    const TColor background = ColorToRGB(clWindow);
    paint();
    EXPECT_FALSE(cellHasInk(2, 1, background));
    EXPECT_FALSE(cellHasInk(4, 1, background));
    edit->SetOptions(edit->Options() + TSynEditorOptions{eoShowSpecialChars});
    paint();
    EXPECT_TRUE(cellHasInk(2, 1, background)) << "a space shows as a middle dot";
    EXPECT_TRUE(cellHasInk(4, 1, background)) << "the line end shows as a pilcrow";
    EXPECT_FALSE(cellHasInk(5, 1, background));
}

TEST_F(SynEditTest, HighlightedRowsEndInTheCommentOrWhitespaceColours) {
    TSynJScriptSyn highlighter(nullptr);
    highlighter.CommentAttri()->SetBackground(clYellow);
    highlighter.SpaceAttri()->SetBackground(clAqua);
    edit->SetHighlighter(&highlighter);
    edit->Lines()->SetText("x; // note\r\n\r\ny;");
    edit->SetOptions(edit->Options() + TSynEditorOptions{eoShowSpecialChars});
    paint();
    EXPECT_EQ(cellBackground(11, 1), ColorToRGB(clYellow))
        << "the line end after a comment takes its colours";
    EXPECT_EQ(cellBackground(20, 1), ColorToRGB(clAqua)) << "the whitespace background is the editor's";
    EXPECT_EQ(cellBackground(1, 2), ColorToRGB(clAqua));
    EXPECT_TRUE(cellHasInk(1, 2, ColorToRGB(clAqua))) << "an empty line shows only the pilcrow";
    EXPECT_FALSE(cellHasInk(2, 2, ColorToRGB(clAqua)));
    edit->SetHighlighter(nullptr);
}

TEST_F(SynEditTest, ActiveLineColourPaintsTheCaretLine) {
    edit->Lines()->SetText("a\r\nb");
    edit->SetActiveLineColor(clYellow);
    paint();
    EXPECT_EQ(cellBackground(5, 1), ColorToRGB(clYellow));
    EXPECT_EQ(cellBackground(5, 2), ColorToRGB(clWindow));
}

TEST_F(SynEditTest, SingleBorderIsASunkenClientEdge) {
    TSynEdit* bordered = new TSynEdit(form.get());
    bordered->SetParent(form.get());
    EXPECT_NE(GetWindowLongPtrA(bordered->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_LT(bordered->ClientWidth(), bordered->Width());
    EXPECT_EQ(GetWindowLongPtrA(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// A highlighter that counts the lines it is given.
class TCountingJScriptSyn : public TSynJScriptSyn {
public:
    using TSynJScriptSyn::TSynJScriptSyn;
    int lines = 0;
    void SetLine(const AnsiString& NewValue, Integer LineNumber) override {
        ++lines;
        TSynJScriptSyn::SetLine(NewValue, LineNumber);
    }
};

TEST_F(SynEditTest, RepaintingOnlyTheGutterAsksNoHighlighter) {
    TCountingJScriptSyn highlighter(nullptr);
    edit->SetHighlighter(&highlighter);
    edit->Lines()->SetText("var a;\r\nvar b;");
    edit->Update();
    highlighter.lines = 0;
    edit->InvalidateGutter();
    edit->Update();
    EXPECT_EQ(highlighter.lines, 0);
    edit->InvalidateLine(2);
    edit->Update();
    EXPECT_EQ(highlighter.lines, 1);
    edit->SetHighlighter(nullptr);
}

TEST(SynEditStreaming, FormResourcesSetPropertiesAndLeaveDefaultsOut) {
    HeadlessBackendInstalled();
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
                      "  object HeadEdit: TSynEdit\n"
                      "    Left = 0\n    Top = 0\n    Width = 250\n    Height = 150\n"
                      "    Gutter.ShowLineNumbers = True\n"
                      "    Lines.Strings = (\n      'first'\n      'second')\n"
                      "    Options = [eoAutoIndent, eoShowSpecialChars]\n"
                      "    RightEdge = 60\n    RightEdgeColor = clRed\n    TabWidth = 4\n"
                      "    SelectionMode = smColumn\n    InsertCaret = ctBlock\n"
                      "  end\n"
                      "end\n",
                      &read);
    auto* edit = static_cast<TSynEdit*>(read.FindComponent("HeadEdit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->Gutter()->ShowLineNumbers());
    EXPECT_EQ(edit->Lines()->Count(), 2);
    EXPECT_EQ(edit->Lines()->Get(1), "second");
    EXPECT_EQ(edit->Options(), (TSynEditorOptions{eoAutoIndent, eoShowSpecialChars}));
    EXPECT_EQ(edit->RightEdge(), 60);
    EXPECT_EQ(edit->RightEdgeColor(), clRed);
    EXPECT_EQ(edit->TabWidth(), 4);
    EXPECT_EQ(edit->SelectionMode(), smColumn);
    EXPECT_EQ(edit->InsertCaret(), ctBlock);

    TForm written(nullptr);
    written.SetName("Plain");
    (new TSynEdit(&written))->SetName("Fresh");
    const AnsiString text = WriteComponentText(&written);
    for (const char* property :
         {"Options", "RightEdge", "TabWidth", "Cursor", "Color", "MaxUndo", "InsertMode"})
        EXPECT_EQ(text.find(std::string("    ") + property + " ="), AnsiString::npos) << property;
}

TEST_F(SynEditTest, WheelNotchesScrollWholeClicks) {
    AnsiString text;
    for (int line = 1; line <= 100; ++line)
        text += "line\r\n";
    edit->Lines()->SetText(text);
    edit->SetTopLine(20);
    UINT systemLines = 0;
    SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &systemLines, 0);
    const Integer perNotch = std::min(static_cast<Integer>(systemLines), edit->LinesInWindow());
    const POINT inside{100, 50};
    backend.TurnWheel(edit->Handle(), inside, 1);
    Application->ProcessMessages();
    EXPECT_EQ(edit->TopLine(), 20 - perNotch);
    edit->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);
    EXPECT_EQ(edit->TopLine(), 20 - perNotch) << "half a notch waits";
    edit->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);
    EXPECT_EQ(edit->TopLine(), 20 - 2 * perNotch);
    edit->Perform(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(edit->TopLine(), 20 - 2 * perNotch + edit->LinesInWindow()) << "Ctrl scrolls a page";
}

TEST_F(SynEditTest, AFreedHighlighterIsDetached) {
    auto* highlighter = new TSynJScriptSyn(form.get());
    edit->SetHighlighter(highlighter);
    delete highlighter;
    EXPECT_EQ(edit->Highlighter(), nullptr);
    edit->Lines()->SetText("var a;");
    paint();
}

TEST_F(SynEditTest, ATabShowsOneGlyphInTheMiddleOfItsSpan) {
    edit->Lines()->SetText("\tx");
    edit->SetTabWidth(4);
    const TColor background = ColorToRGB(clWindow);
    paint();
    for (Integer column = 1; column <= 4; ++column)
        EXPECT_FALSE(cellHasInk(column, 1, background)) << column;
    EXPECT_TRUE(cellHasInk(5, 1, background));
    edit->SetOptions(edit->Options() + TSynEditorOptions{eoShowSpecialChars});
    paint();
    EXPECT_FALSE(cellHasInk(1, 1, background));
    EXPECT_TRUE(cellHasInk(2, 1, background) || cellHasInk(3, 1, background));
    EXPECT_FALSE(cellHasInk(4, 1, background));
}

} // namespace

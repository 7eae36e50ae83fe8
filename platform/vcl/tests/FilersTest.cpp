#include "platform/vcl/Filers.h"

#include "platform/vcl/Idents.h"
#include "platform/vcl/Resources.h"

#include <gtest/gtest.h>

namespace {

enum TTestAlign { taNone, taTop, taBottom, taClient };
enum TTestOption { toBold, toItalic, toUnderline };
using TTestOptions = TSet<TTestOption>;

const TTypeInfo* const testAlignType =
    DefineEnum<TTestAlign>("TTestAlign", {"taNone", "taTop", "taBottom", "taClient"});
const TTypeInfo* const testOptionType =
    DefineEnum<TTestOption>("TTestOption", {"toBold", "toItalic", "toUnderline"});

// Components log their Loaded calls here, in order.
std::vector<AnsiString> loadedLog;

class TTestFont : public TPersistent {
public:
    AnsiString Name;
    Integer Size = 8;
    TColor Color = clWindowText;
    TTestOptions Style;
};

class TTestColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString Caption;
    Integer Width = 64;
    AnsiString GetDisplayName() override {
        return Caption.empty() ? TCollectionItem::GetDisplayName() : Caption;
    }
};

class TTestTimer : public TComponent {
public:
    using TComponent::TComponent;
    Integer Interval = 1000;
    TNotifyEvent OnTimer;
};

// A container control in miniature: nests in a parent and keeps a
// reference to a buddy, which it drops when the buddy goes.
class TTestPanel : public TComponent {
public:
    explicit TTestPanel(TComponent* AOwner) : TComponent(AOwner) {
        Columns.reset(new TOwnedCollection(this, ClassOf<TTestColumn>()));
    }
    ~TTestPanel() override {
        for (TTestPanel* child : children_)
            child->parent_ = nullptr;
        if (parent_) std::erase(parent_->children_, this);
    }

    Integer Left = 0;
    Integer Top = 0;
    AnsiString Caption;
    WideString Hint;
    TTestAlign Align = taNone;
    TTestOptions Options;
    bool Visible = true;
    TColor Color = clBtnFace;
    TCursor Cursor = crDefault;
    double Ratio = 0;
    TTestFont Font;
    std::unique_ptr<TCollection> Columns;
    TStringList Lines;
    TNotifyEvent OnClick;
    TNotifyEvent OnChange;
    Integer FullHeight = 0;
    AnsiString Glyph;

    TTestFont* GetFont() { return &Font; }
    TCollection* GetColumns() const { return Columns.get(); }
    TStrings* GetLines() { return &Lines; }
    TTestPanel* Buddy() const { return buddy_; }
    void SetBuddy(TTestPanel* Value) {
        buddy_ = Value;
        if (Value) Value->FreeNotification(this);
    }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return parent_; }
    void SetParentComponent(TComponent* Value) override {
        if (parent_) std::erase(parent_->children_, this);
        parent_ = dynamic_cast<TTestPanel*>(Value);
        if (parent_) parent_->children_.push_back(this);
    }
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
        for (TTestPanel* child : children_)
            if (child->Owner() == Root) Proc(child);
    }
    const std::vector<TTestPanel*>& Children() const { return children_; }

    void Loaded() override {
        TComponent::Loaded();
        loadedLog.push_back(Name());
    }
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == buddy_) buddy_ = nullptr;
    }

    void DefineProperties(TFiler* Filer) override {
        TComponent::DefineProperties(Filer);
        auto* ancestor = dynamic_cast<TTestPanel*>(Filer->Ancestor());
        Filer->DefineProperty("FullHeight", TReaderProc(this, &TTestPanel::ReadFullHeight),
                              TWriterProc(this, &TTestPanel::WriteFullHeight),
                              !ancestor || ancestor->FullHeight != FullHeight);
        Filer->DefineBinaryProperty("Glyph", TStreamProc(this, &TTestPanel::ReadGlyph),
                                    TStreamProc(this, &TTestPanel::WriteGlyph),
                                    !Glyph.empty() && (!ancestor || ancestor->Glyph != Glyph));
    }

private:
    void ReadFullHeight(TReader* Reader) { FullHeight = Reader->ReadInteger(); }
    void WriteFullHeight(TWriter* Writer) { Writer->WriteInteger(FullHeight); }
    void ReadGlyph(TStream* Stream) {
        Glyph.resize(static_cast<std::size_t>(Stream->Size()));
        Stream->ReadBuffer(Glyph.data(), static_cast<Integer>(Glyph.size()));
    }
    void WriteGlyph(TStream* Stream) {
        Stream->WriteBuffer(Glyph.data(), static_cast<Integer>(Glyph.size()));
    }

    TTestPanel* parent_ = nullptr;
    std::vector<TTestPanel*> children_;
    TTestPanel* buddy_ = nullptr;
};

// A root: its fields are set to the components of their names, its handlers
// are found by name; non-visual components are written before the panels.
class TTestForm : public TTestPanel {
public:
    using TTestPanel::TTestPanel;
    TTestTimer* Clock = nullptr;
    TTestPanel* Panel1 = nullptr;
    TTestPanel* Button1 = nullptr;
    std::vector<AnsiString> events;

    void FormChange(TObject*) { events.push_back("FormChange"); }
    void PanelClick(TObject* Sender) {
        events.push_back("PanelClick " + static_cast<TComponent*>(Sender)->Name());
    }
    void ClockTimer(TObject*) { events.push_back("ClockTimer"); }

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
        for (Integer i = 0; i < ComponentCount(); ++i)
            if (!Components(i)->HasParent()) Proc(Components(i));
        TTestPanel::GetChildren(Proc, Root);
    }
};

class TTestChildForm : public TTestForm {
public:
    using TTestForm::TTestForm;
    TTestPanel* Extra = nullptr;
};

const TClass testFontClass = DescribeClass<TTestFont, TPersistent>([](TClassBuilder<TTestFont>& c) {
    c.Property("Name", &TTestFont::Name, &TTestFont::Name);
    c.Property("Size", &TTestFont::Size, &TTestFont::Size).Default(8);
    c.Property("Color", &TTestFont::Color, &TTestFont::Color).Type(TypeInfoColor()).Default(clWindowText);
    c.Property("Style", &TTestFont::Style, &TTestFont::Style).Default(TTestOptions{});
});

const TClass testColumnClass = DescribeClass<TTestColumn, TCollectionItem>([](TClassBuilder<TTestColumn>& c) {
    c.Property("Caption", &TTestColumn::Caption, &TTestColumn::Caption);
    c.Property("Width", &TTestColumn::Width, &TTestColumn::Width).Default(64);
});

const TClass testTimerClass = DescribeClass<TTestTimer, TComponent>([](TClassBuilder<TTestTimer>& c) {
    c.Property("Interval", &TTestTimer::Interval, &TTestTimer::Interval).Default(1000);
    c.Property("OnTimer", &TTestTimer::OnTimer, &TTestTimer::OnTimer);
});

const TClass testPanelClass = DescribeClass<TTestPanel, TComponent>([](TClassBuilder<TTestPanel>& c) {
    c.Property("Left", &TTestPanel::Left, &TTestPanel::Left).Default(0);
    c.Property("Top", &TTestPanel::Top, &TTestPanel::Top).Default(0);
    c.Property("Caption", &TTestPanel::Caption, &TTestPanel::Caption);
    c.Property("Hint", &TTestPanel::Hint, &TTestPanel::Hint);
    c.Property("Align", &TTestPanel::Align, &TTestPanel::Align).Default(taNone);
    c.Property("Options", &TTestPanel::Options, &TTestPanel::Options).Default(TTestOptions{});
    c.Property("Visible", &TTestPanel::Visible, &TTestPanel::Visible).Default(true);
    c.Property("Color", &TTestPanel::Color, &TTestPanel::Color).Type(TypeInfoColor()).Default(clBtnFace);
    c.Property("Cursor", &TTestPanel::Cursor, &TTestPanel::Cursor).Type(TypeInfoCursor()).Default(crDefault);
    c.Property("Ratio", &TTestPanel::Ratio, &TTestPanel::Ratio);
    c.Property("Font", &TTestPanel::GetFont);
    c.Property("Columns", &TTestPanel::GetColumns);
    c.Property("Lines", &TTestPanel::GetLines);
    c.Property("Buddy", &TTestPanel::Buddy, &TTestPanel::SetBuddy);
    c.Property("OnClick", &TTestPanel::OnClick, &TTestPanel::OnClick);
    c.Property("OnChange", &TTestPanel::OnChange, &TTestPanel::OnChange);
});

const TClass testFormClass = DescribeClass<TTestForm, TTestPanel>([](TClassBuilder<TTestForm>& c) {
    c.Field("Clock", &TTestForm::Clock);
    c.Field("Panel1", &TTestForm::Panel1);
    c.Field("Button1", &TTestForm::Button1);
    c.Method("FormChange", &TTestForm::FormChange);
    c.Method("PanelClick", &TTestForm::PanelClick);
    c.Method("ClockTimer", &TTestForm::ClockTimer);
});

const TClass testChildFormClass = DescribeClass<TTestChildForm, TTestForm>(
    [](TClassBuilder<TTestChildForm>& c) { c.Field("Extra", &TTestChildForm::Extra); });

AnsiString formText(const AnsiString& className) {
    return GetResource(className, rkForm).Text();
}

std::unique_ptr<TTestForm> readTestForm() {
    auto form = std::make_unique<TTestForm>(nullptr);
    ReadComponentText(formText("TTestForm"), form.get());
    return form;
}

// Components are created through the form's field classes; the timer and
// the panel class are also registered, as a unit would register them.
struct RegisterTestClasses {
    RegisterTestClasses() { RegisterClasses({ClassOf<TTestForm>(), ClassOf<TTestChildForm>()}); }
} registerTestClasses;

} // namespace

TEST(Reader, BuildsNestedComponentsWithTheirPropertiesAndReferences) {
    loadedLog.clear();
    std::unique_ptr<TTestForm> form = readTestForm();

    EXPECT_EQ(form->Name(), "TestForm");
    EXPECT_EQ(form->Tag(), 7);
    EXPECT_EQ(form->Color, clWindow);
    ASSERT_NE(form->Clock, nullptr);
    ASSERT_NE(form->Panel1, nullptr);
    ASSERT_NE(form->Button1, nullptr);
    EXPECT_EQ(form->Clock->Interval, 250);
    EXPECT_EQ(form->ComponentCount(), 3);

    TTestPanel* panel = form->Panel1;
    EXPECT_EQ(panel->Owner(), form.get());
    EXPECT_EQ(panel->GetParentComponent(), form.get());
    EXPECT_EQ(form->Button1->GetParentComponent(), panel);
    EXPECT_EQ(panel->Caption, "It's a panel\r\non two lines");
    EXPECT_EQ(panel->Hint, u"Caf\u00e9 \u0416");
    EXPECT_EQ(panel->Align, taTop);
    EXPECT_EQ(panel->Options, (TTestOptions{toBold, toUnderline}));
    EXPECT_FALSE(panel->Visible);
    EXPECT_EQ(panel->Cursor, crHandPoint);
    EXPECT_DOUBLE_EQ(panel->Ratio, 1.5);
    EXPECT_EQ(panel->Font.Name, "Arial");
    EXPECT_EQ(panel->Font.Size, 12);
    EXPECT_EQ(panel->Font.Color, clRed);
    EXPECT_EQ(panel->Font.Style, TTestOptions{toItalic});
    ASSERT_EQ(panel->Columns->Count(), 2);
    auto* first = static_cast<TTestColumn*>(panel->Columns->Items(0));
    auto* second = static_cast<TTestColumn*>(panel->Columns->Items(1));
    EXPECT_EQ(first->Caption, "Name");
    EXPECT_EQ(first->Width, 120);
    EXPECT_EQ(second->Width, 64);
    EXPECT_EQ(second->GetNamePath(), "Panel1.Columns[1]");
    EXPECT_EQ(panel->Lines.Text(), "first line\r\nsecond line\r\n");
    EXPECT_EQ(panel->FullHeight, 64);
    EXPECT_EQ(panel->Glyph, AnsiString("\x00\x01\x02\x03\xFF", 5));
    EXPECT_EQ(form->Button1->Caption, "A caption long enough to be split over two lines of the form text");
    EXPECT_EQ(form->Button1->Left, -5);
    EXPECT_EQ(form->Button1->Color, 0x123456);

    // References resolved after reading, forward ones and the root included.
    EXPECT_EQ(panel->Buddy(), form->Button1);
    EXPECT_EQ(form->Button1->Buddy(), form.get());
    // Loaded once everything is read, in creation order.
    EXPECT_EQ(loadedLog, (std::vector<AnsiString>{"TestForm", "Panel1", "Button1"}));
    EXPECT_FALSE(panel->ComponentState().Contains(csLoading));
    EXPECT_FALSE(panel->ComponentState().Contains(csReading));
}

TEST(Reader, ConnectsEventsToTheRootsHandlersByName) {
    std::unique_ptr<TTestForm> form = readTestForm();
    form->OnChange(form.get());
    form->Panel1->OnClick(form->Panel1);
    form->Button1->OnClick(form->Button1);
    form->Clock->OnTimer(form->Clock);
    EXPECT_EQ(form->events, (std::vector<AnsiString>{"FormChange", "PanelClick Panel1", "PanelClick Button1",
                                                     "ClockTimer"}));
    EXPECT_FALSE(form->Button1->OnChange);
}

TEST(Writer, WritesAReadFormBackToTheSameText) {
    std::unique_ptr<TTestForm> form = readTestForm();
    EXPECT_EQ(WriteComponentText(form.get()), formText("TTestForm"));
}

TEST(Writer, OmitsDefaultsAndWritesWhatWasChanged) {
    TTestForm form(nullptr);
    form.SetName("Plain");
    auto* panel = new TTestPanel(&form);
    panel->SetName("Side");
    panel->SetParentComponent(&form);
    panel->Lines.Add("x");
    panel->Options = {toItalic};
    EXPECT_EQ(WriteComponentText(&form), "object Plain: TTestForm\n"
                                         "  FullHeight = 0\n"
                                         "  object Side: TTestPanel\n"
                                         "    Options = [toItalic]\n"
                                         "    Lines.Strings = (\n"
                                         "      'x')\n"
                                         "    FullHeight = 0\n"
                                         "  end\n"
                                         "end\n");
}

TEST(Writer, WritesOnlyTheDifferencesFromAnAncestor) {
    std::unique_ptr<TTestForm> ancestor = readTestForm();
    TTestChildForm child(nullptr);
    ASSERT_TRUE(InitInheritedComponent(&child, ClassOf<TTestPanel>()));
    EXPECT_EQ(child.Name(), "TestChildForm");
    EXPECT_EQ(child.Panel1->Caption, "Changed");
    EXPECT_EQ(child.Panel1->Font.Name, "Arial");
    ASSERT_NE(child.Extra, nullptr);

    TWriter writer;
    writer.WriteDescendent(&child, ancestor.get());
    EXPECT_EQ(writer.Text(), formText("TTestChildForm"));
}

TEST(Reader, ReportsBadResourcesWithTheirPlace) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n  Bogus = 1\nend\n", "Error reading F.Bogus: Property Bogus does not exist"},
        {"object F: TTestForm\n  Left = 'x'\nend\n", "Error reading F.Left: Invalid property value"},
        {"object F: TTestForm\n  Align = taNowhere\nend\n", "Error reading F.Align: Invalid property value"},
        {"object F: TTestForm\n  OnClick = NoSuchHandler\nend\n",
         "Error reading F.OnClick: Invalid property value"},
        {"object F: TTestForm\n  object X: TNoSuchClass\n  end\nend\n", "Class TNoSuchClass not found"},
        {"object F: TTestForm\n  inherited X: TTestPanel\n  end\nend\n", "Ancestor for 'X' not found"},
        {"object F: TTestForm\n  object 1X: TTestPanel\n  end\nend\n", "Identifier expected on line 2"},
        {"object F: TTestForm\n  object A: TTestPanel\n  end\n  object a: TTestPanel\n  end\nend\n",
         "A component named a already exists"},
    };
    for (const Case& c : cases) {
        TTestForm form(nullptr);
        try {
            ReadComponentText(c.text, &form);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message, c.message) << c.text;
        }
    }
}

TEST(Reader, CreatesTheRootFromARegisteredClassAndFreesItOnFailure) {
    TComponent* root = ReadComponentText("object Made: TTestForm\n  Left = 3\nend\n", nullptr);
    std::unique_ptr<TComponent> owned(root);
    ASSERT_NE(dynamic_cast<TTestForm*>(root), nullptr);
    EXPECT_EQ(static_cast<TTestForm*>(root)->Left, 3);
    EXPECT_THROW(ReadComponentText("object Made: TTestForm\n  Left = x\nend\n", nullptr), EReadError);
}

TEST(Reader, GivesValuesToDefinedPropertiesThroughTheValueCalls) {
    // A defined property whose value is a list of mixed values.
    class TListHolder : public TComponent {
    public:
        using TComponent::TComponent;
        std::vector<AnsiString> seen;
        void DefineProperties(TFiler* Filer) override {
            Filer->DefineProperty("Mixed", TReaderProc(this, &TListHolder::ReadMixed), nullptr, false);
        }
        void ReadMixed(TReader* Reader) {
            EXPECT_EQ(Reader->NextValue(), vaList);
            Reader->ReadListBegin();
            seen.push_back(std::to_string(Reader->ReadInteger()));
            seen.push_back(Reader->ReadString());
            seen.push_back(Reader->ReadBoolean() ? "true" : "false");
            seen.push_back(Reader->ReadIdent());
            seen.push_back(std::to_string(Reader->ReadFloat()));
            EXPECT_TRUE(Reader->EndOfList());
            Reader->ReadListEnd();
        }
    };
    DescribeClass<TListHolder, TComponent>();
    TListHolder holder(nullptr);
    ReadComponentText(
        "object H: TListHolder\n  Mixed = (\n    -70000\n    'a' + 'b'\n    True\n    clRed\n    2)\nend\n",
        &holder);
    EXPECT_EQ(holder.seen, (std::vector<AnsiString>{"-70000", "ab", "true", "clRed", "2.000000"}));
}

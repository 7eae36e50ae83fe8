#include "platform/vcl/Components.h"
#include "platform/vcl/Idents.h"

#include <gtest/gtest.h>

namespace {

class TBase : public TComponent {
public:
    using TComponent::TComponent;
    Integer Width = 0;
    AnsiString Text;
};

class TDerived : public TBase {
public:
    using TBase::TBase;
    bool Flat = false;
};

class TUndescribed : public TDerived {
public:
    using TDerived::TDerived;
};

const TClass baseClass = DescribeClass<TBase, TComponent>([](TClassBuilder<TBase>& c) {
    c.Property("Width", &TBase::Width, &TBase::Width).Default(0);
    c.Property("Text", &TBase::Text, &TBase::Text);
});

// Redeclares Width with another default: it keeps its place in the list.
const TClass derivedClass = DescribeClass<TDerived, TBase>([](TClassBuilder<TDerived>& c) {
    c.Property("Flat", &TDerived::Flat, &TDerived::Flat).Default(false);
    c.Property("Width", &TDerived::Width, &TDerived::Width).Default(50);
});

std::vector<AnsiString> namesOf(const std::vector<const TPropInfo*>& properties) {
    std::vector<AnsiString> names;
    for (const TPropInfo* property : properties)
        names.push_back(property->Name);
    return names;
}

} // namespace

TEST(ClassRecord, KnowsItsNameParentAndProperties) {
    TDerived derived(nullptr);
    TClass derivedType = ClassTypeOf(&derived);
    EXPECT_EQ(derivedType, derivedClass);
    EXPECT_EQ(derivedType->ClassName(), "TDerived");
    EXPECT_EQ(derivedType->ClassParent(), baseClass);
    EXPECT_TRUE(derivedType->InheritsFrom(ClassOf<TComponent>()));
    EXPECT_FALSE(baseClass->InheritsFrom(derivedClass));
    EXPECT_EQ(namesOf(derivedType->Properties()),
              (std::vector<AnsiString>{"Name", "Tag", "Width", "Text", "Flat"}));
    EXPECT_EQ(GetPropInfo(&derived, "WIDTH")->Default, 50);
    EXPECT_EQ(GetPropInfo(baseClass, "width")->Default, 0);
    EXPECT_EQ(GetPropInfo(&derived, "Missing"), nullptr);

    TComponent* made = derivedClass->CreateComponent(nullptr);
    EXPECT_NE(dynamic_cast<TDerived*>(made), nullptr);
    delete made;

    TUndescribed undescribed(nullptr);
    EXPECT_EQ(undescribed.ClassName(), "TUndescribed");
    EXPECT_THROW(ClassTypeOf(&undescribed), EClassNotFound);
}

TEST(ClassRecord, PropertiesAreReadAndWrittenThroughTheirRecords) {
    TDerived derived(nullptr);
    SetOrdProp(&derived, GetPropInfo(&derived, "Width"), 12);
    SetStrProp(&derived, GetPropInfo(&derived, "Text"), "abc");
    SetOrdProp(&derived, GetPropInfo(&derived, "Flat"), 1);
    SetStrProp(&derived, GetPropInfo(&derived, "Name"), "Renamed");
    EXPECT_EQ(derived.Width, 12);
    EXPECT_EQ(derived.Text, "abc");
    EXPECT_TRUE(derived.Flat);
    EXPECT_EQ(derived.Name(), "Renamed");
    EXPECT_EQ(GetOrdProp(&derived, GetPropInfo(&derived, "Width")), 12);
    EXPECT_FALSE(IsStoredProp(&derived, GetPropInfo(&derived, "Name")));
    EXPECT_TRUE(IsStoredProp(&derived, GetPropInfo(&derived, "Text")));
}

TEST(ClassRegistry, FindsRegisteredClassesByNameOnly) {
    EXPECT_EQ(GetClass("TBase"), nullptr);
    EXPECT_THROW(FindClass("TBase"), EClassNotFound);
    RegisterClasses({baseClass, derivedClass});
    RegisterClass(baseClass);
    EXPECT_EQ(FindClass("tbase"), baseClass);
    EXPECT_EQ(GetClass("TDERIVED"), derivedClass);
    try {
        FindClass("TNowhere");
        FAIL();
    } catch (const EClassNotFound& error) {
        EXPECT_EQ(error.Message, "Class TNowhere not found");
    }
    UnRegisterClass(baseClass);
    EXPECT_EQ(GetClass("TBase"), nullptr);
}

TEST(Idents, ColoursAndCursorsConvertBothWays) {
    struct Case {
        Integer value;
        const char* ident;
    };
    const Case colours[] = {{clBlack, "clBlack"},          {clGray, "clGray"},       {clWhite, "clWhite"},
                            {clScrollBar, "clScrollBar"},  {clBtnFace, "clBtnFace"}, {clInfoBk, "clInfoBk"},
                            {clMenuBar, "clMenuBar"},      {clNone, "clNone"},       {clDefault, "clDefault"},
                            {clMoneyGreen, "clMoneyGreen"}};
    for (const Case& c : colours) {
        AnsiString ident;
        Integer value = 0;
        EXPECT_TRUE(ColorToIdent(c.value, ident));
        EXPECT_EQ(ident, c.ident);
        EXPECT_TRUE(IdentToColor(AnsiString(c.ident), value));
        EXPECT_EQ(value, c.value);
    }
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0x8000000F));
    EXPECT_EQ(ColorToString(0x123456), "$00123456");
    EXPECT_EQ(ColorToString(clWindow), "clWindow");
    EXPECT_EQ(StringToColor("CLRED"), clRed);
    EXPECT_EQ(StringToColor("255"), 255);
    EXPECT_EQ(StringToColor("$00FF00"), clLime);
    EXPECT_THROW(StringToColor("reddish"), EConvertError);

    AnsiString ident;
    Integer cursor = 0;
    EXPECT_TRUE(CursorToIdent(crHandPoint, ident));
    EXPECT_EQ(ident, "crHandPoint");
    EXPECT_TRUE(IdentToCursor("crSizeAll", cursor));
    EXPECT_EQ(cursor, -22);
    EXPECT_FALSE(CursorToIdent(5, ident));
    EXPECT_EQ(FindIntToIdent(TypeInfoCursor()), &CursorToIdent);
    EXPECT_EQ(FindIdentToInt(TypeInfoShortCut()), nullptr);
}

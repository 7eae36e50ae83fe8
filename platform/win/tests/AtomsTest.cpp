#include "platform/win/Atoms.h"

#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <string>

TEST(Atoms, StringAtomsAreReferenceCounted) {
    const ATOM atom = GlobalAddAtomA("WideControlHelper");
    ASSERT_GE(atom, MAXINTATOM);
    EXPECT_EQ(GlobalAddAtomW(u"WIDECONTROLHELPER"), atom);
    EXPECT_EQ(GlobalFindAtomA("widecontrolhelper"), atom);

    EXPECT_EQ(GlobalDeleteAtom(atom), 0);
    EXPECT_EQ(GlobalFindAtomW(u"WideControlHelper"), atom);
    EXPECT_EQ(GlobalDeleteAtom(atom), 0);
    EXPECT_EQ(GlobalFindAtomW(u"WideControlHelper"), 0);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GlobalDeleteAtom(atom), atom);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // The number is free again and goes to the next new name.
    const ATOM next = GlobalAddAtomA("AnotherName");
    EXPECT_EQ(next, atom);
    GlobalDeleteAtom(next);
}

TEST(Atoms, NamesKeepTheirCaseAndConvertBetweenCodePages) {
    const ATOM atom = GlobalAddAtomA("Gr\xFC\xDF"
                                     "e");
    EXPECT_EQ(GlobalFindAtomW(u"GR\u00DC\u00DFE"), atom);
    char16_t wide[16];
    EXPECT_EQ(GlobalGetAtomNameW(atom, wide, 16), 5u);
    EXPECT_EQ(std::u16string(wide), u"Gr\u00FC\u00DFe");
    char ansi[4];
    EXPECT_EQ(GlobalGetAtomNameA(atom, ansi, sizeof ansi), 3u);
    EXPECT_EQ(std::string(ansi), "Gr\xFC");
    GlobalDeleteAtom(atom);
    EXPECT_EQ(GlobalGetAtomNameA(atom, ansi, sizeof ansi), 0u);
}

TEST(Atoms, IntegerAtomsNeedNoTable) {
    struct Case {
        const char* name;
        ATOM atom;
    };
    for (const Case& c : {Case{"#123", 123}, Case{"#49151", 0xBFFF}, Case{"#49152", 0}, Case{"#0", 0},
                          Case{"#99999999999", 0}, Case{"", 0}})
        EXPECT_EQ(GlobalAddAtomA(c.name), c.atom) << c.name;
    // A "#" without digits starts an ordinary name.
    const ATOM hash = GlobalAddAtomA("#");
    EXPECT_GE(hash, MAXINTATOM);
    GlobalDeleteAtom(hash);

    EXPECT_EQ(GlobalAddAtomW(MAKEINTATOM(77)), 77);
    EXPECT_EQ(GlobalFindAtomA(MAKEINTATOM(77)), 77);
    EXPECT_EQ(GlobalAddAtomW(MAKEINTATOM(0xC000)), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GlobalDeleteAtom(77), 0);
    char name[8];
    EXPECT_EQ(GlobalGetAtomNameA(77, name, sizeof name), 3u);
    EXPECT_STREQ(name, "#77");
    EXPECT_EQ(GlobalAddAtomA(std::string(256, 'x').c_str()), 0);
}

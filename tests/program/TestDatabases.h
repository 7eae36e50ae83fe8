// Script databases written for the whole-program tests and benchmarks: a
// one-script library whose page shows the wizard's values only when its
// JavaScript runs, and a large library made of the demo rows repeated.
#pragma once

#include <string>

// The wizard test library's one category, title and wizard defaults.
namespace wizardtest {
inline constexpr const char* Category = "Test blocks";
// A second category with a plain page, first in the sorted list.
inline constexpr const char* PlainCategory = "Plain pages";
inline constexpr const char* Title = "Coloured block";
inline constexpr const char* DefaultColour = "#FF0000";
inline constexpr const char* DefaultText = "Block title";
// Where the page's script paints the block, in page pixels.
inline constexpr int BlockLeft = 0;
inline constexpr int BlockTop = 0;
inline constexpr int BlockWidth = 600;
inline constexpr int BlockHeight = 400;
// The one file the script attaches, from the program folder's Scripts\Images.
inline constexpr const char* AttachedFile = "tile.gif";
} // namespace wizardtest

// Two scripts. The first: its wizard has a colour and a text; its HEAD sets
// the page title to the text, its BODY holds an empty block that the page's
// JavaScript paints in the colour, and it attaches one file. The second, in
// the category listed first, is a plain page.
std::string WizardTestDatabase();
// The first script's HEAD part with `Title` for the text, as the wizard
// leaves it in the editor.
std::string WizardTestHead(const std::string& Title);
// The page composed from the first script with `Colour` ("#RRGGBB") and
// `Title` substituted: the parts between the page's fixed lines, CR LF
// between lines and none after the last.
std::string WizardTestPage(const std::string& Colour, const std::string& Title);

// The rows of the demo library `DemoLibrary` repeated, in table order, until
// there are `Scripts` of them, spread in equal runs over `CategoryCount`
// categories named "Category 01", "Category 02", ...; each title carries its
// row number so that no two are alike.
std::string ScaleDatabase(const std::string& DemoLibrary, int Scripts, int CategoryCount);

// Writes `Image` to `Path`, replacing what was there; false when it could not.
bool WriteDatabase(const std::string& Path, const std::string& Image);

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
} // namespace wizardtest

// Two scripts. The first: its wizard has a colour and a text; its BODY holds
// an empty block that the page's JavaScript paints in the colour, and the
// same script sets the page title to the text. The second, in the category
// listed first, is a plain page.
std::string WizardTestDatabase();

// The rows of the demo library `DemoLibrary` repeated, in table order, until
// there are `Scripts` of them, spread in equal runs over `CategoryCount`
// categories named "Category 01", "Category 02", ...; each title carries its
// row number so that no two are alike.
std::string ScaleDatabase(const std::string& DemoLibrary, int Scripts, int CategoryCount);

// Writes `Image` to `Path`, replacing what was there; false when it could not.
bool WriteDatabase(const std::string& Path, const std::string& Image);

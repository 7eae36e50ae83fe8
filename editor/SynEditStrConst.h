// The user-visible texts of the editor and its highlighters, kept in one
// place so that they can be translated together.
#pragma once

// Attribute names: the display and storage names of token attributes.
inline constexpr char SYNS_AttrComment[] = "Comment";
inline constexpr char SYNS_AttrEscapeAmpersand[] = "Escape Ampersand";
inline constexpr char SYNS_AttrEvent[] = "Event";
inline constexpr char SYNS_AttrIdentifier[] = "Identifier";
inline constexpr char SYNS_AttrMarker[] = "Marker";
inline constexpr char SYNS_AttrNonReservedKeyword[] = "Non-reserved Keyword";
inline constexpr char SYNS_AttrNumber[] = "Number";
inline constexpr char SYNS_AttrReservedWord[] = "Reserved Word";
inline constexpr char SYNS_AttrSpace[] = "Space";
inline constexpr char SYNS_AttrString[] = "String";
inline constexpr char SYNS_AttrSymbol[] = "Symbol";
inline constexpr char SYNS_AttrText[] = "Text";
inline constexpr char SYNS_AttrUnknownWord[] = "Unknown Word";
inline constexpr char SYNS_AttrValue[] = "Value";

// Default file-dialog filters: a description, a vertical bar, the masks.
inline constexpr char SYNS_FilterHTML[] = "HTML Documents (*.htm;*.html)|*.htm;*.html";
inline constexpr char SYNS_FilterJScript[] = "Javascript Files (*.js)|*.js";

// Language names.
inline constexpr char SYNS_LangHTML[] = "HTML";
inline constexpr char SYNS_LangJScript[] = "JavaScript";
inline constexpr char SYNS_LangGeneralMulti[] = "General Multi-Highlighter";

// The editor's own texts.
inline constexpr char SYNS_ScrollInfoFmt[] = "%d - %d";
inline constexpr char SYNS_ScrollInfoFmtTop[] = "Top Line: %d";
inline constexpr char SYNS_EDuplicateShortcut[] = "Shortcut already exists";

// The preview page made of a script's three parts, and the page that shows
// a database failure in their place.
#pragma once

#include "platform/core/Types.h"

#include <vector>

// The page's items in order: each part goes in whole as one item, line
// breaks and all; the body tag reads "<body " + attributes + ">".
std::vector<AnsiString> ComposePage(const AnsiString& Head, const AnsiString& BodyTag,
                                    const AnsiString& Body);

// The page file's text: the items joined by CR LF, none after the last.
AnsiString PageText(const std::vector<AnsiString>& Items);

// The BODY part that shows ErrorText as a centred red heading followed by
// "!!!"; "&", "<" and ">" of the text are written as entities.
AnsiString ErrorPageBody(const AnsiString& ErrorText);

// Text crossing between the program and the desktop: the program keeps CR LF line
// ends, as Windows programs do, and Linux programs expect LF, showing a CR as "^M".
#pragma once

#include "platform/core/Types.h"

// Every CR LF becomes LF; a lone CR stays.
WideString ToDesktopLineEnds(const WideString& text);
// Every LF without a CR before it becomes CR LF.
WideString FromDesktopLineEnds(const WideString& text);

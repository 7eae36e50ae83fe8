// Exception classes are header-only; this unit anchors the library.
#include "platform/core/Exceptions.h"

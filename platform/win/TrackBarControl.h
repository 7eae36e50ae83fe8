// The track bar control class (msctls_trackbar32): a thumb that slides along
// a channel over a range, with tick marks and a selection range, moved by
// dragging, by clicks beside the thumb (a page at a time, repeating while
// held) and by the arrow, page, Home and End keys; every move is reported to
// the parent as WM_HSCROLL or WM_VSCROLL with the TB_ codes.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterTrackBarClass();

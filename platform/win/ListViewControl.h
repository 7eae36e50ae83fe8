// The list view control class (SysListView32): items with sub-item texts,
// images and states shown as a report with a column header, as a list in
// columns, or as large or small icons; selection by mouse and keys with the
// parent told of every change (LVN_ITEMCHANGING may refuse it), texts and
// images that the parent supplies on request (LVN_GETDISPINFO), owner data,
// sorting, label editing, check boxes and incremental search. Notifications
// carrying text use their W codes when the parent takes UTF-16.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterListViewClass();

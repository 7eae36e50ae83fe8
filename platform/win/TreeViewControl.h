// The tree view control class (SysTreeView32): items in a hierarchy, with
// buttons and lines, images and states, expanded and collapsed by mouse and
// keys, one item selected (the parent may refuse a change, TVN_SELCHANGING);
// texts, images and child counts the parent supplies on request
// (TVN_GETDISPINFO), sorting, label editing, check boxes and incremental
// search. Notifications carrying text use their W codes when the parent
// takes UTF-16.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterTreeViewClass();

// Files dropped onto windows: DragAcceptFiles marks a window; a drop goes to
// the nearest accepting window under the point (or above it), as WM_DROPFILES
// with an HDROP that the window reads with DragQueryFile and DragQueryPoint
// and frees with DragFinish.
#pragma once

#include "platform/win/WinUser.h"

void DragAcceptFiles(HWND window, BOOL accept);
// Index 0xFFFFFFFF gives the count; a null buffer the length of a name.
UINT DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size);
UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size);
// The drop point in the client coordinates of the receiving window; TRUE when
// it lies in the client area.
BOOL DragQueryPoint(HDROP drop, LPPOINT point);
void DragFinish(HDROP drop);

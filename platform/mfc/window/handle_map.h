// The process-wide map from window handles to their permanent objects.
// Windows of the editor live on one thread, but worker threads look objects
// up too (to post to them), so the map is guarded.
#pragma once
#include <windows.h>

class CWnd;

CWnd* AfxLookupPermanent(HWND hWnd);
bool AfxAddPermanent(HWND hWnd, CWnd* pWnd);  // false when the handle has an object
void AfxRemovePermanent(HWND hWnd, CWnd* pWnd);

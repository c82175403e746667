// The window classes of the layer's own windows. Fixed names, so tests and
// tools find the windows by class. Each is registered on first use with
// DefWindowProc as class procedure; the object's procedure is put in front
// when the window is created.
#pragma once
#include <windows.h>

constexpr wchar_t kAfxWndClass[] = L"QuilloraMfcWnd";
constexpr wchar_t kAfxFrameWndClass[] = L"QuilloraMfcFrame";
constexpr wchar_t kAfxViewWndClass[] = L"QuilloraMfcView";
constexpr wchar_t kAfxControlBarClass[] = L"QuilloraMfcControlBar";
constexpr wchar_t kAfxMiniFrameClass[] = L"QuilloraMfcMiniFrame";

// Registers one of the names above (once per process); false on failure.
bool AfxEnsureWndClass(const wchar_t* className);

// A library that loads but lacks LR_Install: what a wrong or damaged core
// library beside the tray program looks like.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL __stdcall LR_Uninstall() { return TRUE; }

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

// The tooltip's window class, registered once per module.
#pragma once
#include <windows.h>

// True when the class exists (registered now or before).
bool EnsureToolTipClass();

// Tests replace the registering call to see a failure; null restores it.
using ToolTipClassRegistrar = ATOM(WINAPI*)(const WNDCLASSEXW*);
void SetToolTipClassRegistrar(ToolTipClassRegistrar registrar);

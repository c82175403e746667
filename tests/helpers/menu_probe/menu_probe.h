// The messages and the output file of the menu probe hook library.
#pragma once

constexpr wchar_t kMenuProbeDumpMessage[] = L"QuilloraTests.MenuProbe.Dump";
constexpr wchar_t kMenuProbeCloseMessage[] = L"QuilloraTests.MenuProbe.Close";
constexpr wchar_t kMenuProbeRightUpMessage[] = L"QuilloraTests.MenuProbe.RightUp";
constexpr wchar_t kMenuProbeToolbarTipMessage[] = L"QuilloraTests.MenuProbe.ToolbarTip";
constexpr wchar_t kMenuProbeFile[] = L"menu_probe.txt";
constexpr char kMenuProbeHookName[] = "MenuProbeHook";

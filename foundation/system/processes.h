// Running processes and the image paths of their programs.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The program paths of all running processes in order of process id; with
// sort, sorted without regard to case and without duplicates. False when
// no process snapshot can be taken.
bool GetRunningProcessPaths(std::vector<std::wstring>* paths, bool sort);
// The path of the module of a process whose path holds the program's file
// name (not at its very start); empty when there is none or it has no
// backslash.
std::wstring GetProcessModulePath(const std::wstring& exeName, DWORD processId);
// The choice GetProcessModulePath makes among a process's module paths.
std::wstring PickModulePath(const std::wstring& exeName, const std::vector<std::wstring>& modules);
std::wstring GetProcessImagePath(DWORD processId);
// GetModuleFileNameExW from kernel32, else from psapi; 0 when neither has it.
DWORD GetModuleFileNameExSafe(HANDLE process, wchar_t* buffer, DWORD size);

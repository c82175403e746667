// Machine facts as texts: byte sizes and memory figures.
#pragma once
#include <string>

// The shell's byte-size text ("1.50 KB"); empty when shlwapi or its
// StrFormatByteSizeW cannot be loaded. Takes 64 bits so that sizes of a
// 64-bit process are not cut to 4 GB.
std::wstring FormatByteSize(unsigned long long bytes);

// The commit limit that GlobalMemoryStatus reports, as a byte-size text
// without blanks ("4.00GB").
std::wstring GetCommitLimitText();

// "%.2f GB" of installed / available physical memory, "%d%" of the memory
// load; "Cannot detect" when the system cannot tell.
std::wstring GetTotalPhysicalMemoryText();
std::wstring GetAvailablePhysicalMemoryText();
std::wstring GetMemoryLoadText();

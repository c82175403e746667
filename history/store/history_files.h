// The clipboard history's folder and the small file operations that the
// queue and the saver share: read-only attributes, the protection key of a
// descriptor, deleting a history file.
#pragma once
#include <string>

// The program folder + "ClipboardHistory", without a trailing backslash.
std::wstring GetClipboardHistoryFolder();
// Tests point the history at a folder of their own; empty restores the
// program's folder.
void SetClipboardHistoryFolderForTest(const std::wstring& folder);

// Sets or clears FILE_ATTRIBUTE_READONLY; success without a call when it is
// already as asked. An unreadable attribute counts as none.
bool SetFileReadOnly(const std::wstring& path, bool readOnly);
// Rewrites the descriptor's "Protected" key. The read-only attribute is
// cleared for the write and then set as the flag says, so a protected
// descriptor stays read-only.
bool WriteProtectedKey(const std::wstring& descriptor, bool isProtected);
// Deletes a file (never a folder), clearing its read-only attribute first.
// A file that does not exist counts as deleted.
bool DeleteHistoryFile(const std::wstring& path);

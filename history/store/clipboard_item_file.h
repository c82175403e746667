// One history item written to a file of its own kind, for the shell or for
// the user's "save to file".
#pragma once
#include <string>

class CCHItem;

// ANSI text and RTF: the bytes up to the terminating zero; Unicode text: a
// byte-order mark and the characters up to the zero; Brindle data and HTML:
// the stored bytes; a bitmap: a .bmp file. The file is replaced; a
// protected item's file is made read-only afterwards (also after a failed
// write). True when every byte was written.
bool SaveClipboardItemToFile(const CCHItem& item, const std::wstring& path);

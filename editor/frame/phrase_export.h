// Writing one phrase record to a file of the user's choice, and the save
// dialog's offer for it.
#pragma once
#include <string>

class CQLRCommand;

// A target whose extension is ".quillora" (any case) gets the record's
// phrase file. Any other gets the phrase text: an RTF phrase as its 8-bit
// RTF bytes (what an .rtf file holds, and what the import reads back), any
// other phrase as UTF-16LE after the two-byte mark FF FE. The file is made
// anew; true only when every byte was written.
bool ExportPhrase(const CQLRCommand& record, const std::wstring& path);

// The file types the save dialog offers for the record: its own text type
// first, then phrase files and all files.
std::wstring ExportFilter(const CQLRCommand& record);
// "rtf" for an RTF phrase, else "txt".
std::wstring ExportExtension(const CQLRCommand& record);

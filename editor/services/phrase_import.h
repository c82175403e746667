// Import of files as new phrases at the top of the phrase tree.
#pragma once
#include <cstdint>
#include <string>

class CCommandFolder;

// Files above this size are refused: a phrase is text for a menu, and the
// whole file is read into memory.
constexpr std::uint64_t kMaxImportBytes = 8 * 1024 * 1024;

// A ".quillora" file is copied into the root phrase folder under a free
// name (a.quillora, a2.quillora, ...) and read; any other file becomes a
// new phrase titled after its file name: ".rtf" as an RTF phrase, the rest
// as text (UTF-16 with a byte-order mark, else 8-bit text of the system
// code page). The new record's id, or -1 on any failure.
std::uint32_t ImportPhraseFile(CCommandFolder& store, const std::wstring& path);

// The phrase text of a file's bytes (size bytes at data).
std::wstring ImportedText(const char* data, size_t size, bool rtf);

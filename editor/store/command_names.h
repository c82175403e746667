// Names of phrase files and folders made from titles, and the disk steps
// of copying and moving them.
#pragma once
#include <windows.h>

#include <string>

// The title made safe as a file name (no extension): trimmed, cut at the
// first line feed, unsafe and control characters (and blanks with
// spacesToo) replaced by "_", runs of "_" folded and trimmed; a device name
// such as CON or NUL gets "_" behind it.
std::wstring MakeSafeFileName(const std::wstring& title, bool spacesToo);
// The same with the unsafe characters removed and blanks kept.
std::wstring StripUnsafeChars(const std::wstring& title);
// A title for the tree: trimmed, cut at a line break, at most limit
// characters and then "…" (-1: no limit), the remaining breaks as blanks.
std::wstring NormalizeTitle(const std::wstring& text, int limit = -1);
// MakeSafeFileName, blanks folded, a number above 1 appended, and the
// extension when asked for.
std::wstring MakeFileTitle(const std::wstring& title, int number, bool addExtension, bool spacesToo);
// directory + "\" + MakeFileTitle with the first number (1, 2, 3...) under
// which nothing exists yet; empty when no free name is left.
std::wstring MakeUniquePath(const std::wstring& directory, const std::wstring& title,
                            bool addExtension, bool spacesToo, bool asFile);
// directory + base + ("" or "_1", "_2"...) + ".quillora": the first that
// is no existing file.
std::wstring MakeNumberedPath(const std::wstring& directory, const std::wstring& base);

// Copies or moves a phrase file or folder directory into the target
// directory under a free name; the new path, or empty on failure.
std::wstring CopyOrMoveEntry(const std::wstring& source, const std::wstring& targetDirectory, bool move);

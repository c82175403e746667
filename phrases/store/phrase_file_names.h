// File names for new phrases, made from their captions.
#pragma once
#include <string>

// The caption made safe as a file name: trimmed, cut at the first line
// feed, every character a file name cannot hold (and every control
// character) replaced by "_", runs of "_" folded, a reserved device name
// (CON, NUL, COM1...) followed by "_". A number above 1 is appended, then
// the extension when asked for.
std::wstring MakePhraseFileName(const std::wstring& caption, int number, bool addExtension,
                                bool replaceBlanks);

// folder + "\" + the first name (numbers 1, 2, 3...) under which nothing
// exists yet. asFile tells whether a file or a folder is to be made there.
// Empty when no free name is found.
std::wstring MakeUniquePhrasePath(const std::wstring& folder, const std::wstring& caption,
                                  bool addExtension, bool replaceBlanks, bool asFile);

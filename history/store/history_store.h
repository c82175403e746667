// Saving history items into the history folder and loading them back: per
// item one ".info" descriptor and one data file per format.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "history/store/history_item.h"

class CCHQueue;

// Data files larger than this are not loaded.
constexpr ULONGLONG kMaxHistoryDataFileBytes = 512ull << 20;

// Writes the item's data as a new file (never over an existing one): a
// Unicode text with its FF FE mark, a bitmap as a BMP, other kinds as the
// stored bytes. Sets the file's creation time, and makes it read-only when
// readOnly is set. Nothing to write is a failure.
bool WriteHistoryDataFile(const std::wstring& path, const CCHItem& item, const FILETIME& captureTime,
                          bool readOnly);
// Writes the item's data files and its descriptor into folder (created
// when missing); afterwards the item knows its paths and is saved (state 2).
bool SaveHistoryItem(const std::wstring& folder, CCHItem& item);

// One data file as a loaded item (state 1), protected when the file is
// read-only; null (logged) when the file is missing, a folder, empty, too
// large or, for a ".bmp", not a complete bitmap. A ".txt" is Unicode text
// (kind 1, its mark dropped) when IsUnicodeTextFile says so, else kind 0.
std::unique_ptr<CCHItem> LoadHistoryDataFile(const std::wstring& path);
// Loads every descriptor of the folder into the queue, oldest first;
// descriptors that are malformed, name files outside the folder or name no
// loadable file are skipped and logged. True when any descriptor was found.
// Items of the same content are merged into one (the other's files deleted)
// unless keepTwins is set: a caller that holds live items of its own merges
// them itself, since one of the twins may be the files a live item just wrote.
bool LoadHistory(const std::wstring& folder, CCHQueue* queue, bool keepTwins = false);
bool LoadHistory(CCHQueue* queue);  // the history folder

// The shared settings area: a small named mapping in which the tray program
// publishes its hotkey (and, for the editor, a selected text) as an XML
// record that the editor and the welcome program read.
#pragma once
#include <windows.h>

#include <string>

constexpr DWORD kSettingsAreaSize = 1024;
// Readers accept a record of at most this many bytes.
constexpr size_t kSettingsAreaMaxText = 51200;

struct SettingsAreaRecord {
  WORD hotKeyKey = 0;
  WORD hotKeyMod = 0;
  bool doubled = false;
  std::wstring selText;
};

// The record's XML text (UTF-8, CR LF line breaks); empty when it cannot be
// printed.
std::string BuildSettingsAreaXml(WORD hotKeyKey, WORD hotKeyMod, bool doubled,
                                 const std::wstring& selText);
// Publishes the record. When it does not fit with the selected text, the
// record is written without it (readers never see a stale text) and the
// result is still false.
bool WriteSettingsArea(WORD hotKeyKey, WORD hotKeyMod, bool doubled, const std::wstring& selText);
// Reads the record from the area; false when the area is missing, holds no
// terminated text within its mapped size, or is no record.
bool ReadSettingsArea(SettingsAreaRecord& record);

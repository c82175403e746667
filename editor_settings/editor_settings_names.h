// Keys of Settings.ini that only the editor reads and writes, and the event
// through which the tray program tells the editor that its options changed.
#pragma once

namespace editor_settings_names {

// Section of the editor's own options.
constexpr const wchar_t kSettingsEditor[] = L"Settings_Editor";
constexpr const wchar_t kLastFile[] = L"LastFile";
constexpr const wchar_t kShowUncheckedPhrases[] = L"ShowUncheckedPhrases";
constexpr const wchar_t kPreview[] = L"Preview";

// Recent phrase folders, in section "Settings"; entries are numbered from 1.
constexpr const wchar_t kPrevFoldersCount[] = L"PrevFoldersCount";
constexpr const wchar_t kPrevFolderFormat[] = L"Prev_Folder%d";

// Created and pulsed by the tray program (auto reset).
constexpr const wchar_t kOptionsChangedEvent[] = L"Local\\Quillora_OptionsChanged";

}  // namespace editor_settings_names

// Names and ids that the phrase files and the phrase tree use.
#pragma once
#include <cstdint>

constexpr wchar_t kPhraseExtension[] = L".quillora";
constexpr wchar_t kFolderSelfFileName[] = L"FOLDER_SELF.quillora";

// XML of a phrase file.
constexpr char kXmlRoot[] = "QLRCommand";
constexpr char kXmlExcluded[] = "Excluded";
constexpr char kXmlUsageCount[] = "UsageCount";
constexpr char kXmlDisabledIsNoHasSelection[] = "DisabledIsNoHasSelection";
constexpr char kXmlUseTitleOnly[] = "UseTitleOnly";
constexpr char kXmlSortId[] = "SortID";
constexpr char kXmlFlagsMenu[] = "FlagsMenu";
constexpr char kXmlDateUsage[] = "DateUsage";
constexpr char kXmlMenuName[] = "MenuName";
constexpr char kXmlDataType[] = "DataType";
constexpr char kXmlCmd[] = "Cmd";
constexpr char kXmlHint[] = "Hint";

// Command ids of the phrase menu that are not phrases: the clipboard-history
// entries (2000 + n) and the tray window's fixed commands. Phrase ids never
// fall into these ranges, so a menu choice always means one thing.
constexpr std::uint32_t kHistoryIdFirst = 2000;
constexpr std::uint32_t kHistoryIdLast = 2999;
constexpr std::uint32_t kFixedCommandIdFirst = 32768;
constexpr std::uint32_t kFixedCommandIdLast = 32999;

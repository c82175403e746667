// Texts, file names and ids of the editor's language-file tools.
#pragma once
#include <windows.h>

constexpr wchar_t kLngTipKey[] = L"TIP";
constexpr wchar_t kLngTipText[] = L"ATTENTION: Save the file as Unicode encoding!!!!";
constexpr wchar_t kLngPrefixTip[] =
    L"THE TIP!!!: Write the prefix of Your language. E.g. \"De\" for German language, \"En\" for "
    L"English language, \"Sp\" for Spanish language and etc. Prefix of language You can see in "
    L"standard language pane of Windows in right bottom corner of screen.";
constexpr wchar_t kLngAuthorTip[] = L"THE TIP!!!: Write the Your name and email (optional)";
constexpr wchar_t kLngLocalizedTip[] = L"THE TIP!!!: Write the localized name of Your language";

constexpr wchar_t kAgentModuleName[] = L"Quillora.exe";
constexpr wchar_t kWelcomeModuleName[] = L"Quillora_Welcome.exe";
constexpr wchar_t kAgentMissingFormat[] = L"Cannot find agent module by path\n%ls";
constexpr wchar_t kWelcomeMissingFormat[] = L"Cannot find Welcome-module by path\n%ls";
constexpr wchar_t kRecycleFailedFormat[] =
    L"Cannot move the old lng-file to the Recycle Bin:\n%ls\n\nNothing was written.";
constexpr wchar_t kLngToolsBoxCaption[] = L"Quillora : PhraseEditor";

// "Language file already exists. Do you want to add a new row or re-create?..."
constexpr UINT kIdsLngFileExists = 184;
// "This language file is larger than 768 KB: ..."
constexpr UINT kIdsLngFileTooLarge = 183;

// The welcome program's built-in page and where its copy goes.
constexpr WORD kWelcomePageResource = 201;
constexpr WORD kHtmlResourceType = 23;
constexpr wchar_t kWelcomePageFirstName[] = L"welcome.html";
constexpr wchar_t kWelcomePageNumberedFormat[] = L"Welcome_%d.html";

// The editor's own texts that are not for translators: the document
// template string and the status-bar indicators.
constexpr UINT kEditorDocTemplateString = 128;
constexpr UINT kEditorIndicatorFirst = 59136;
constexpr UINT kEditorIndicatorLast = 59142;

constexpr wchar_t kNotepadProgram[] = L"notepad.exe";

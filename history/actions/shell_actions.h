// Handing a history item to the shell: as a temporary file opened with its
// associated program or with the system's open-with dialog.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

class CCHItem;

// Id of the localised warning that starts every temporary file name.
constexpr UINT kIdsTempFileWarning = 272;
constexpr wchar_t kTempFileWarningDefault[] =
    L"== ATTENTION == This temporary file DO NOT SAVE THIS FILE - SAVE AS ONLY";

// The system's open-with dialog for the file; true when it came up.
bool OpenWithDialog(HWND owner, const std::wstring& path);

// The extension a kind is opened with (".txt", ".rtf", ".bmp"; HTML none).
std::wstring GetHistoryItemFileExt(int kind);

// A new name in the temporary folder: the localised warning, made fit for a
// file name, then " ==Quillora==", a unique part and the extension.
std::wstring MakeHistoryTempFileName(const std::wstring& ext);

// Writes the item to a temporary file and opens it: with its associated
// program when openDirectly (the open-with dialog when that fails), else
// with the open-with dialog. A Brindle document does nothing and reports
// success; no item or a failed write gives false.
bool OpenHistoryItemAsFile(const CCHItem* item, HWND owner, bool openDirectly);

// The same for the item at index (0 = newest), read through reader (the
// clipboard handler's GetItem).
using HistoryItemReader = std::function<const CCHItem*(int index)>;
bool OpenHistoryItemAsFile(const HistoryItemReader& reader, int index, HWND owner,
                           bool openDirectly);

// The registered clipboard format "Brindle Format", registered once.
UINT GetBrindleClipboardFormat();

// A text as the address OpenLinkText opens: line breaks, tabs and runs of
// blanks become one blank, and "http://" goes in front unless it starts
// (in any letter case) with http://, https://, ftp://, mailto: or file://.
std::wstring MakeLinkAddress(const std::wstring& text);
// Opens the text as a link with the shell verb "open"; true when the shell
// took it.
bool OpenLinkText(HWND owner, const std::wstring& text);
// Whether the address starts (in any letter case) with http:// or https://:
// the only source addresses that are opened, since another program wrote them.
bool IsWebAddress(const std::wstring& address);

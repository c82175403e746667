// Commands, texts and numbers of the editor's toolbars.
#pragma once
#include <windows.h>

#include "editor/services/web_pages.h"
#include "platform/mfc/res/afx_ids.h"

namespace toolbars {

// Commands of the phrase view's toolbar.
constexpr UINT kIdIntoMenuName = 32793;
constexpr UINT kIdDataType = 32801;
constexpr UINT kIdInsertMacro = 32802;
constexpr UINT kIdReadOnlyMode = 32837;
// The data-type commands whose long texts describe the types.
constexpr UINT kIdPastePlain = 32786;
constexpr UINT kIdPasteRtf = 32787;
constexpr UINT kIdStartAsApp = 32803;
// The phrase pane's filter button.
constexpr UINT kIdHideUnchecked = 32815;
// The links toolbar's buttons.
constexpr UINT kIdHomePage = 32781;
constexpr UINT kIdSupport = 32795;
constexpr UINT kIdOfficialForum = kIdLinksOfficialForum;
constexpr UINT kIdCommunityGroup = 32840;
constexpr UINT kIdVideo = 32827;

// Localised texts.
constexpr UINT kIdsMacro = 130;
constexpr UINT kIdsReadOnly = 223;
constexpr UINT kIdsHomePage = 129;
constexpr UINT kIdsSupport = 189;
constexpr UINT kIdsOfficialForum = 162;
constexpr UINT kIdsCommunityGroup = 224;
constexpr UINT kIdsVideo = 204;

// Posted by the blink thread when it is done.
constexpr UINT kBlinkDoneMessage = WM_APP + 1;
constexpr DWORD kBlinkHiddenMs = 400;
constexpr DWORD kBlinkShownMs = 100;
constexpr int kBlinkCycles = 2;

constexpr wchar_t kMacroShortcut[] = L"   [Ctrl+Alt+K]";
constexpr wchar_t kAddressSeparator[] = L"   \u00BB ";
constexpr int kLinksTipWidth = 300;
constexpr int kReadOnlyButtonWidth = 160;
constexpr int kMacroFallbackWidth = 100;
constexpr int kMacroTextGap = 8;
constexpr int kPaneButtonWidth = 32;
constexpr int kPaneLastButtonMaxWidth = 160;
constexpr int kFilterTextMax = 49;
constexpr COLORREF kImageKey = RGB(255, 0, 255);

}  // namespace toolbars

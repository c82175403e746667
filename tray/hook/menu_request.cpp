#include "tray/hook/menu_request.h"

#include <cstdint>
#include <cstring>

#include "settings/settings.h"

CMenuRequest MenuRequestFromQuery(const CQueryRecord& query) {
  CMenuRequest request;
  request.hwndForMenu = query.hwnd;
  request.active = query.guiInfo.hwndActive;
  request.focus = query.guiInfo.hwndFocus;
  request.capture = query.guiInfo.hwndCapture;
  request.menuOwner = query.guiInfo.hwndMenuOwner;
  request.caret = query.guiInfo.hwndCaret;
  request.layout = reinterpret_cast<HKL>(static_cast<ULONG_PTR>(query.hkl));
  request.selectedText = query.SelText;
  // The text counts only when the query says a selection was there.
  request.selectionFlag = query.StateSelText == CQueryRecord::kSelectionExtracted;
  request.selectionFlagOther = query.StateSelText == CQueryRecord::kSelectionUnknown && !query.SelText.empty();
  request.x = query.POINT_X;
  request.y = query.POINT_Y;
  return request;
}

CPhraseMenuOptions MenuOptionsFromSettings(const CQLRSettings& settings) {
  CPhraseMenuOptions options;
  options.addLastUsedToBegin = settings.addLastUsedMenuToBegin != 0;
  options.insertHistory = settings.insertCHIntoMenu != 0;
  options.historyAsSubMenu = settings.appendCHAsSubMenu != 0;
  options.maxHistoryItems = settings.maxHistoryItemsInMenu;
  options.extEditSettings = settings.extMenuCommand[kExtEditSetting] != 0;
  options.extSelectionIntoPhrase = settings.extMenuCommand[kExtSaveSelAsPhrase] != 0;
  options.extSupport = settings.extMenuCommand[kExtSupport] != 0;
  options.menuToolTips = settings.menuToolTips != 0;
  // An empty face name: the system's menu font.
  options.hasMenuFont = settings.fontForMenu.lfFaceName[0] != L'\0';
  options.menuFont = settings.fontForMenu;
  return options;
}

bool ParseCopyDataCommand(const COPYDATASTRUCT* data, int* commandId, HWND* target) {
  if (!data || !data->lpData || data->cbData < kCopyDataCommandBytes) return false;
  const BYTE* bytes = static_cast<const BYTE*>(data->lpData);
  std::int32_t id = 0;
  std::int32_t window = 0;
  memcpy(&id, bytes, sizeof(id));
  memcpy(&window, bytes + 134, sizeof(window));
  *commandId = id;
  // Window handles are 32-bit values in every process; sign-extended as the
  // system does.
  *target = reinterpret_cast<HWND>(static_cast<INT_PTR>(window));
  return true;
}

// The message hook: inside the program that received the tray's
// notification it writes the LRQuery document into the interchange area and
// sets the query event. It runs on that program's GUI thread, so it only
// makes calls that return at once: nothing here waits for the tray.
#include <cstring>
#include <string>

#include "foundation/system/handles.h"
#include "platform/coredll/dll/core_state.h"
#include "platform/coredll/query_facts.h"

namespace {

bool WriteQueryToArea(const std::string& xml, const wchar_t* areaName) {
  UniqueHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, areaName));
  if (!mapping) return false;
  void* view = MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0);
  if (!view) return false;
  MEMORY_BASIC_INFORMATION info = {};
  bool fits = VirtualQuery(view, &info, sizeof(info)) != 0 && xml.size() < info.RegionSize;
  if (fits) memcpy(view, xml.c_str(), xml.size() + 1);
  UnmapViewOfFile(view);
  return fits;
}

void AnswerNotification(HWND hwnd, bool noQuery) {
  // Copies: the tray may install again with other names meanwhile.
  CoreSharedState& shared = SharedState();
  std::wstring area(shared.areaName, wcsnlen(shared.areaName, kCoreNameChars));
  std::wstring needed(shared.queryEventName, wcsnlen(shared.queryEventName, kCoreNameChars));
  std::wstring completed(shared.answerEventName, wcsnlen(shared.answerEventName, kCoreNameChars));

  const std::string xml = BuildQueryXml(GatherQueryFacts(hwnd, noQuery));
  if (!WriteQueryToArea(xml, area.c_str())) return;
  // A completion left from an earlier exchange must not answer this one.
  UniqueHandle completedEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, completed.c_str()));
  if (completedEvent) ResetEvent(completedEvent.Get());
  UniqueHandle neededEvent(OpenEventW(EVENT_MODIFY_STATE, FALSE, needed.c_str()));
  if (neededEvent) SetEvent(neededEvent.Get());
}

}  // namespace

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE && lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    const UINT notify = SharedState().notifyMessage;
    if (notify != 0 && msg->message == notify && SharedState().installed) {
      AnswerNotification(msg->hwnd, msg->wParam != 0);
      msg->message = WM_NULL;  // the program's own code never sees the request
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

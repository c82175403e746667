#include "platform/mfc/core/cmd_target.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

const AFX_MSGMAP_ENTRY kNoEntries[] = {{0, 0, 0, 0, 0, nullptr, nullptr}};
const AFX_MSGMAP kCmdTargetMap = {nullptr, kNoEntries};

// The message and code that the entries of a command-level search carry.
void SplitCode(int nCode, UINT* message, UINT* code) {
  if (nCode == CN_COMMAND || nCode == CN_UPDATE_COMMAND_UI) {
    *message = WM_COMMAND;
    *code = static_cast<UINT>(nCode);
    return;
  }
  UINT packed = static_cast<UINT>(nCode);
  if (HIWORD(packed) == 0) {  // a control's notification through WM_COMMAND
    *message = WM_COMMAND;
    *code = LOWORD(packed);
    return;
  }
  *message = HIWORD(packed);
  *code = LOWORD(packed);
  // A reflected update request keeps the full code of the update.
  if (*message == WM_REFLECT_BASE + WM_COMMAND && *code == 0xFFFF)
    *code = static_cast<UINT>(CN_UPDATE_COMMAND_UI);
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() { return &kCmdTargetMap; }

const AFX_MSGMAP_ENTRY* CCmdTarget::FindWindowEntry(const AFX_MSGMAP* map, UINT message) {
  for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->kind; ++e) {
      if (e->kind == kAfxWindowMessage && e->nMessage == message) return e;
      // A registered id is read at search time: it is known only after
      // RegisterWindowMessage ran, and 0 (failed registration) matches none.
      if (e->kind == kAfxRegistered && e->pRegistered && *e->pRegistered != 0 &&
          *e->pRegistered == message)
        return e;
    }
  }
  return nullptr;
}

BOOL AfxDispatchCmdMsg(CCmdTarget* target, const AFX_MSGMAP* map, UINT nID, int nCode,
                       void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT message = 0, code = 0;
  SplitCode(nCode, &message, &code);
  for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->kind; ++e) {
      if (e->kind != kAfxCommandLevel || e->nMessage != message || e->nCode != code) continue;
      if (nID < e->nID || nID > e->nLastID) continue;
      if (pHandlerInfo) {
        pHandlerInfo->pTarget = target;
        pHandlerInfo->pEntry = e;
        return TRUE;
      }
      AFX_CALL call = {message, 0, 0, 0, nID, pExtra};
      if (e->pfn(target, call)) return TRUE;
      // An _EX handler that declined: the search goes on.
    }
  }
  return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  return AfxDispatchCmdMsg(this, GetMessageMap(), nID, nCode, pExtra, pHandlerInfo);
}

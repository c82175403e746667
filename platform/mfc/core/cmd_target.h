// Command targets and their message maps. Each class with a map has a
// static table of entries chained to its base class's table; the search
// takes the most derived class's entries first. Command-level entries
// (commands, update requests, control notifications, notifications and
// their reflected forms) are found by OnCmdMsg; window-message entries by
// the window's OnWndMsg.
#pragma once
#include <windows.h>

#include "platform/mfc/core/object.h"

class CCmdTarget;
class CCmdUI;

// Codes of OnCmdMsg besides a control's own notification code.
constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;
// Reflected messages are the parent's message plus this base.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
// The reflected form of every WM_CTLCOLOR* message (0x0019 is the old
// single colour message); lParam carries the CTLCOLOR_ kind.
constexpr UINT WM_REFLECT_CTLCOLOR = WM_REFLECT_BASE + 0x0019;
// Sent to windows during the idle pass so they refresh their command state.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;

// One message as a handler sees it; the entry's thunk reads it and stores
// the result.
struct AFX_CALL {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
  UINT nID;        // command or control id (command-level entries)
  void* pExtra;    // CCmdUI* of an update, AFX_NOTIFY* of a notification
};

// The handler of one entry: calls the member function; false when the
// handler declined (the _EX forms), so the search goes on.
typedef bool (*AFX_THUNK)(CCmdTarget* target, AFX_CALL& call);

enum AfxEntryKind : UINT {
  kAfxWindowMessage = 1,  // nMessage
  kAfxRegistered,         // *pRegistered (a run-time id)
  kAfxCommandLevel,       // nMessage/nCode with nID..nLastID
};

struct AFX_MSGMAP_ENTRY {
  UINT kind;              // AfxEntryKind; 0 ends a table
  UINT nMessage;          // window message, or WM_COMMAND / WM_NOTIFY / reflected
  UINT nCode;             // command-level: CN_COMMAND, CN_UPDATE_COMMAND_UI or a control code
  UINT nID;
  UINT nLastID;
  const UINT* pRegistered;
  AFX_THUNK pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled in probe mode: who would handle the command; nothing runs.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  const AFX_MSGMAP_ENTRY* pEntry;
};

// pExtra of a WM_NOTIFY routed as a command.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;

  // Routes one command-level message: nCode is CN_COMMAND,
  // CN_UPDATE_COMMAND_UI, a control notification code, or
  // MAKELONG(code, message) for WM_NOTIFY and the reflected messages.
  // With pHandlerInfo set it only reports whether a handler exists.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // The map of this object's class (most derived).
  virtual const AFX_MSGMAP* GetMessageMap() const { return GetThisMessageMap(); }
  static const AFX_MSGMAP* GetThisMessageMap();

  // The first entry of the chain that takes the message (window messages).
  static const AFX_MSGMAP_ENTRY* FindWindowEntry(const AFX_MSGMAP* map, UINT message);
};

// Around an update handler (pCmdUI is the CCmdUI*): whether it took the
// update or asked for the routing to go on.
void AfxBeginUpdateHandler(void* pCmdUI);
bool AfxUpdateHandlerTook(void* pCmdUI);

// Runs a command-level search over one map chain for a target.
BOOL AfxDispatchCmdMsg(CCmdTarget* target, const AFX_MSGMAP* map, UINT nID, int nCode,
                       void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

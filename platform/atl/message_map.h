// Message maps. A class lists its handlers between BEGIN_MSG_MAP and
// END_MSG_MAP; the entries are tried in order. A handler that sets bHandled
// to FALSE lets the search go on to the later entries and, when none takes
// the message, to the default processing of the window (or FALSE from a
// dialog procedure).
//
// Handler signatures:
//   LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
//   LRESULT OnCommand(WORD code, WORD id, HWND control, BOOL& bHandled);
//   LRESULT OnNotify(int id, NMHDR* header, BOOL& bHandled);
#pragma once
#include <windows.h>

class CMessageMap {
 public:
  virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                    LRESULT& lResult, DWORD dwMsgMapID = 0) = 0;

 protected:
  ~CMessageMap() = default;
};

#define BEGIN_MSG_MAP(theClass)                                                               \
 public:                                                                                      \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,              \
                            LRESULT& lResult, DWORD dwMsgMapID = 0) {                         \
    BOOL bHandled = TRUE;                                                                     \
    (void)hWnd;                                                                               \
    (void)uMsg;                                                                               \
    (void)wParam;                                                                             \
    (void)lParam;                                                                             \
    (void)lResult;                                                                            \
    (void)bHandled;                                                                           \
    switch (dwMsgMapID) {                                                                     \
      case 0:

// The message may be any expression, e.g. a variable holding the id of a
// registered message.
#define MESSAGE_HANDLER(msg, func)                             \
  if (uMsg == static_cast<UINT>(msg)) {                        \
    bHandled = TRUE;                                           \
    lResult = func(uMsg, wParam, lParam, bHandled);            \
    if (bHandled) return TRUE;                                 \
  }

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func)                                \
  if (uMsg >= static_cast<UINT>(msgFirst) && uMsg <= static_cast<UINT>(msgLast)) {    \
    bHandled = TRUE;                                                                  \
    lResult = func(uMsg, wParam, lParam, bHandled);                                   \
    if (bHandled) return TRUE;                                                        \
  }

#define COMMAND_HANDLER(id, code, func)                                                      \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id) &&                       \
      HIWORD(wParam) == static_cast<WORD>(code)) {                                           \
    bHandled = TRUE;                                                                         \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                               \
  }

#define COMMAND_ID_HANDLER(id, func)                                                         \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == static_cast<WORD>(id)) {                       \
    bHandled = TRUE;                                                                         \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                               \
  }

#define COMMAND_CODE_HANDLER(code, func)                                                     \
  if (uMsg == WM_COMMAND && HIWORD(wParam) == static_cast<WORD>(code)) {                     \
    bHandled = TRUE;                                                                         \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                               \
  }

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                         \
  if (uMsg == WM_COMMAND && LOWORD(wParam) >= static_cast<WORD>(idFirst) &&                  \
      LOWORD(wParam) <= static_cast<WORD>(idLast)) {                                         \
    bHandled = TRUE;                                                                         \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled); \
    if (bHandled) return TRUE;                                                               \
  }

#define QLR_NMHDR_ (reinterpret_cast<NMHDR*>(lParam))

#define NOTIFY_HANDLER(id, cd, func)                                                    \
  if (uMsg == WM_NOTIFY && QLR_NMHDR_->idFrom == static_cast<UINT_PTR>(id) &&           \
      QLR_NMHDR_->code == static_cast<UINT>(cd)) {                                      \
    bHandled = TRUE;                                                                    \
    lResult = func(static_cast<int>(wParam), QLR_NMHDR_, bHandled);                     \
    if (bHandled) return TRUE;                                                          \
  }

#define NOTIFY_ID_HANDLER(id, func)                                                     \
  if (uMsg == WM_NOTIFY && QLR_NMHDR_->idFrom == static_cast<UINT_PTR>(id)) {           \
    bHandled = TRUE;                                                                    \
    lResult = func(static_cast<int>(wParam), QLR_NMHDR_, bHandled);                     \
    if (bHandled) return TRUE;                                                          \
  }

#define NOTIFY_CODE_HANDLER(cd, func)                                                   \
  if (uMsg == WM_NOTIFY && QLR_NMHDR_->code == static_cast<UINT>(cd)) {                 \
    bHandled = TRUE;                                                                    \
    lResult = func(static_cast<int>(wParam), QLR_NMHDR_, bHandled);                     \
    if (bHandled) return TRUE;                                                          \
  }

#define NOTIFY_RANGE_HANDLER(idFirst, idLast, func)                                     \
  if (uMsg == WM_NOTIFY && QLR_NMHDR_->idFrom >= static_cast<UINT_PTR>(idFirst) &&      \
      QLR_NMHDR_->idFrom <= static_cast<UINT_PTR>(idLast)) {                            \
    bHandled = TRUE;                                                                    \
    lResult = func(static_cast<int>(wParam), QLR_NMHDR_, bHandled);                     \
    if (bHandled) return TRUE;                                                          \
  }

// Hands the message to a base class's map (or a member's) and stops when it
// was handled there.
#define CHAIN_MSG_MAP(theChainClass)                                                      \
  if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define CHAIN_MSG_MAP_ALT(theChainClass, msgMapID)                                        \
  if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, msgMapID)) \
    return TRUE;

#define CHAIN_MSG_MAP_MEMBER(theChainMember)                                              \
  if ((theChainMember).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

// A second map in the same class, reached with its id (e.g. for a
// contained or subclassed child).
#define ALT_MSG_MAP(msgMapID) \
  break;                      \
  case msgMapID:

#define END_MSG_MAP() \
  break;              \
  default:            \
    break;            \
    }                 \
    return FALSE;     \
    }

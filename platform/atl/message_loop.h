// The message loop of a thread, with message filters (asked before a
// message is translated and dispatched, newest first) and idle handlers
// (run when the queue has become empty after a message that counts as
// activity). Null entries are allowed and skipped.
#pragma once
#include <windows.h>

#include <vector>

class CMessageFilter {
 public:
  virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;

 protected:
  ~CMessageFilter() = default;
};

class CIdleHandler {
 public:
  virtual BOOL OnIdle() = 0;

 protected:
  ~CIdleHandler() = default;
};

class CMessageLoop {
 public:
  CMessageLoop() = default;
  virtual ~CMessageLoop() = default;
  CMessageLoop(const CMessageLoop&) = delete;
  CMessageLoop& operator=(const CMessageLoop&) = delete;

  BOOL AddMessageFilter(CMessageFilter* filter);
  BOOL RemoveMessageFilter(CMessageFilter* filter);
  BOOL AddIdleHandler(CIdleHandler* handler);
  BOOL RemoveIdleHandler(CIdleHandler* handler);

  // Runs until WM_QUIT and returns its wParam.
  int Run();

  // Mouse moves, paints and the caret's system timer do not make the
  // program busy: they do not start another idle pass.
  static BOOL IsIdleMessage(const MSG* pMsg);

  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // One idle pass over the handlers; true asks for another pass.
  virtual BOOL OnIdle(int idleCount);

  MSG m_msg = {};

 private:
  // Entries removed during a walk become null and are compacted after it,
  // so a handler may remove itself (or another) while it is called.
  template <class T>
  struct List {
    std::vector<T*> items;
    int walking = 0;
    BOOL Add(T* p);
    BOOL Remove(T* p);
    void Compact();
  };
  List<CMessageFilter> m_filters;
  List<CIdleHandler> m_idle;
};

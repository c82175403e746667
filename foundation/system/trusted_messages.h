// Window messages that carry an address or a handle. Any program can send
// or post a registered message, a private or WM_APP id, WM_COPYDATA or
// WM_NOTIFY to any window of the suite with any values, so each receiver
// follows one of the rules below, and kForeignMessages lists every such
// message of the suite with its rule (a test posts each from another
// process with junk values).
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <set>

enum class MessageRule {
  // The address is read only inside a send of this very thread that
  // SendWithAddress made; posts and sends from elsewhere get no reading.
  kOwnThread,
  // The value must be an object a thread of this process handed out for
  // this message (HandedOutObjects or a list of its own); each is taken
  // once, anything else is ignored.
  kHandedOut,
  // The values are checked before use: a handle with IsWindow or IsMenu or
  // against the receiver's own items, a block by its size and layout, an
  // address by the memory it names.
  kValidated,
  // Nothing is read: the message only answers with a number.
  kAnswerOnly,
};

struct ForeignMessage {
  const char* receiver;            // program and window
  UINT id;                         // 0: registered by name
  const wchar_t* registeredName;   // for a registered message
  MessageRule rule;
  const char* carries;
};

extern const ForeignMessage kForeignMessages[];
extern const size_t kForeignMessageCount;

// Objects handed to a window by a message; the receiver takes each back
// once, and only those.
class HandedOutObjects {
 public:
  void Hand(const void* object);
  // Whether value is an object handed out and not yet taken; it is taken.
  bool TakeBack(std::uintptr_t value);
  bool TakeBack(const void* object) { return TakeBack(reinterpret_cast<std::uintptr_t>(object)); }

 private:
  SRWLOCK m_lock = SRWLOCK_INIT;
  std::set<std::uintptr_t> m_out;
};

// Whether a WM_NOTIFY is a notice a control of this thread is sending: its
// header lies in readable memory of this process and names a window of this
// thread, and no other thread or process sent it. Controls send their
// notices synchronously on their own thread; a post or a send from
// elsewhere carries an address that means nothing here.
bool IsOwnNotification(LPARAM lParam);

// Sends a message whose lParam is an address to a window of this thread.
LRESULT SendWithAddress(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// In the receiver: whether the message is such a send of this thread.
bool IsAddressFromOwnThread(UINT message, LPARAM lParam);

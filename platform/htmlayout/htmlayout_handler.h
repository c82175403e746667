// The event-handler base for windows that show an HTMLayout view: derive,
// override the groups you need, and attach with
//   HTMLayoutWindowAttachEventHandler(view, HLEventHandler::ElementProc, this, HANDLE_ALL);
// ElementProc hands each event to the method of its group.
#pragma once
#include "platform/htmlayout/htmlayout.h"

class HLEventHandler {
 public:
  virtual ~HLEventHandler() = default;

  // Each returns true when it handled the event.
  virtual bool HandleInitialization(HELEMENT, INITIALIZATION_PARAMS&) { return false; }
  virtual bool HandleMouse(HELEMENT, MOUSE_PARAMS&) { return false; }
  virtual bool HandleKey(HELEMENT, KEY_PARAMS&) { return false; }
  virtual bool HandleFocus(HELEMENT, FOCUS_PARAMS&) { return false; }
  virtual bool HandleTimer(HELEMENT) { return false; }
  virtual bool HandleSize(HELEMENT) { return false; }
  virtual bool HandleBehaviorEvent(HELEMENT, BEHAVIOR_EVENT_PARAMS&) { return false; }

  static BOOL CALLBACK ElementProc(LPVOID tag, HELEMENT he, UINT group, LPVOID params) {
    auto* self = static_cast<HLEventHandler*>(tag);
    if (!self) return FALSE;
    bool handled = false;
    switch (group) {
      case HANDLE_INITIALIZATION:
        handled = params && self->HandleInitialization(he, *static_cast<INITIALIZATION_PARAMS*>(params));
        break;
      case HANDLE_MOUSE:
        handled = params && self->HandleMouse(he, *static_cast<MOUSE_PARAMS*>(params));
        break;
      case HANDLE_KEY:
        handled = params && self->HandleKey(he, *static_cast<KEY_PARAMS*>(params));
        break;
      case HANDLE_FOCUS:
        handled = params && self->HandleFocus(he, *static_cast<FOCUS_PARAMS*>(params));
        break;
      case HANDLE_TIMER: handled = self->HandleTimer(he); break;
      case HANDLE_SIZE: handled = self->HandleSize(he); break;
      case HANDLE_BEHAVIOR_EVENT:
        handled = params && self->HandleBehaviorEvent(he, *static_cast<BEHAVIOR_EVENT_PARAMS*>(params));
        break;
      default: break;
    }
    return handled ? TRUE : FALSE;
  }
};

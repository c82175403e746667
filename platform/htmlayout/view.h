// The view window: one document per window, the notification callback, the
// event handlers registered for it, and the style sheets it asked for.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/htmlayout/dom.h"
#include "platform/htmlayout/htmlayout.h"

namespace hl {

struct EventHandlerEntry {
  LPELEMENT_EVENT_PROC proc;
  void* tag;
  UINT groups;
};

class ViewWindow;

// Registered test message, answered only with kStyleSheetQueryTestSwitch on:
// what the view knows of the last style sheet handed over with
// HTMLayoutDataReady (see LastSheetAnswer in view.cpp).
constexpr const wchar_t* kLastStyleSheetMessage = L"HTMLayout_LastStyleSheet";

class View {
 public:
  static const UINT kMaxDocumentBytes = 64u << 20;  // a larger page is refused

  explicit View(HWND hwnd);
  ~View();

  HWND Window() const { return m_hwnd; }
  Document* Doc() const { return m_doc.get(); }
  const std::vector<EventHandlerEntry>& Handlers() const { return m_handlers; }
  unsigned long Serial() const { return m_serial; }
  unsigned long DocSerial() const { return m_docSerial; }
  // What the window shows and how it reacts.
  ViewWindow& Presenter() { return *m_presenter; }

  // Replaces the document; false (and an empty document) for bad input.
  bool Load(const BYTE* html, UINT size, const wchar_t* baseUrl);
  void SetCallback(LPHTMLAYOUT_NOTIFY callback, void* param);
  // Hands the bytes over to a style sheet asked for and not yet supplied.
  bool DataReady(const wchar_t* uri, const BYTE* data, DWORD size);
  // The bytes of the last style sheet DataReady accepted (a test hook).
  const std::string& LastAcceptedSheet() const { return m_lastSheet; }
  // The same procedure and tag registered again only changes its groups.
  void AttachHandler(LPELEMENT_EVENT_PROC proc, void* tag, UINT groups);

 private:
  void RequestStyleSheets();

  HWND m_hwnd;
  unsigned long m_serial;  // tells a view apart from a later one at the same address
  std::unique_ptr<Document> m_doc;
  unsigned long m_docSerial = 0;
  LPHTMLAYOUT_NOTIFY m_callback = nullptr;
  void* m_callbackParam = nullptr;
  std::vector<EventHandlerEntry> m_handlers;
  std::unique_ptr<ViewWindow> m_presenter;
  std::string m_lastSheet;
};

// Tells the view of the element's document that the element changed (its
// widget follows at once, the page is laid out again before the next paint).
void NotifyElementChanged(const Node* node);

// The class, registered on first use (global, so that a window created with
// the caller's own instance finds it).
const wchar_t* ViewClassName();
void UnregisterViewClass();
// The view of a window of this process and our class; null for anything else.
View* ViewFromWindow(HWND hwnd);

// The document as markup, as it stands now: states show as checked/disabled
// attributes and run-time styles in the style attribute.
std::wstring SerializeDocument(const Document& doc);

}  // namespace hl

// A static control turned into a web link: blue underlined label, hand
// cursor, and a click opens the link's target.
#pragma once
#include <windows.h>

#include <string>

#include "platform/atl/window_impl.h"

// Its own namespace: the editor has a different link control of the same
// name, and the two must never meet under one name in a binary.
namespace qlr_atl {

class CHyperLink : public CWindowImpl<CHyperLink> {
 public:
  CHyperLink() = default;
  ~CHyperLink() override;

  BOOL SubclassWindow(HWND hWnd);
  // The shown text; the target is shown when there is no label.
  void SetLabel(const wchar_t* label);
  void SetHyperLink(const wchar_t* url);
  const std::wstring& GetLabel() const { return m_label; }
  const std::wstring& GetHyperLink() const { return m_url; }
  // Opens the target with the shell; true when that worked.
  virtual bool Navigate();

  BEGIN_MSG_MAP(CHyperLink)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_SETFONT, OnSetFont)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetFont(UINT, WPARAM, LPARAM, BOOL& bHandled);
  const std::wstring& ShownText() const { return m_label.empty() ? m_url : m_label; }
  void MakeLinkFont();
  RECT TextRect(HDC dc);

  std::wstring m_label;
  std::wstring m_url;
  HFONT m_linkFont = nullptr;
  bool m_pressed = false;
};

}  // namespace qlr_atl

using qlr_atl::CHyperLink;

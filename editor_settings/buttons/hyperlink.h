// CHyperLink: a static text of a dialog turned into a link. The text shows
// in the link colour (the visited colour once used), is underlined while
// the cursor rests on it, and a click on it opens its URL with the shell,
// writes a mail, or sends a "message:" link's message to the parent.
//
// The window layer has a link control of the same name; this one lives in
// the editor's namespace so that the two can never meet under one name.
#pragma once
#include <windows.h>

#include <string>

#include "platform/mfc/controls/static_ctrl.h"
#include "platform/mfc/gdi/font.h"

namespace qlr_editor {

class CHyperLink : public CStatic {
 public:
  explicit CHyperLink(const wchar_t* url = nullptr);
  ~CHyperLink() override;

  void SetURL(const wchar_t* url) { m_url = url ? url : L""; }
  const std::wstring& GetURL() const { return m_url; }
  static std::wstring MakeMessageLink(UINT message);
  BOOL GetVisited() const { return m_visited; }
  void SetVisited(BOOL visited);
  COLORREF GetLinkColor() const { return m_linkColor; }
  COLORREF GetVisitedColor() const { return m_visitedColor; }
  // Also the hover button's cursor.
  static HCURSOR GetHandCursor();

  // The part of the client area that counts as the link (empty without a DC).
  RECT GetTextBox() const;
  bool IsUnderlined() const { return m_underlined; }

 protected:
  void PreSubclassWindow() override;
  LRESULT OnNcHitTest(CPoint point);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnTimer(UINT_PTR nIDEvent);
  void OnClicked();
  DECLARE_MESSAGE_MAP()

 private:
  static LRESULT ParentProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LONG_PTR userValue,
                            BOOL* passOn, WNDPROC previous);
  bool IsCursorOverText() const;
  HFONT ParentFont() const;
  HFONT UnderlineFont();
  void Open();
  void ForgetParent();

  HWND m_parent = nullptr;  // the parent whose colour messages we answer
  COLORREF m_linkColor = RGB(0, 0, 255);
  COLORREF m_visitedColor = RGB(128, 0, 128);
  BOOL m_visited = FALSE;
  std::wstring m_url;  // empty: the window text is the URL
  bool m_underlined = false;
  CFont m_underlineFont;
};

}  // namespace qlr_editor

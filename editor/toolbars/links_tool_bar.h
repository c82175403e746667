// The language bar's links toolbar: text buttons that open the maker's web
// pages, with the page's address in their tips.
#pragma once
#include <windows.h>

#include <string>

#include "platform/mfc/bars/tool_bar.h"
#include "platform/mfc/controls/image_list.h"

class CLinksToolBar : public CToolBar {
  DECLARE_DYNAMIC(CLinksToolBar)

 public:
  CLinksToolBar() = default;
  ~CLinksToolBar() override = default;

  // After a language change: every button's text again from its string id;
  // a text that cannot be read leaves the button without one.
  void Relabel();
  // The command's long prompt and, when it opens a page, "   » " and the
  // page's address.
  static std::wstring GetLinkTip(UINT id);

 protected:
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnGetInfoTip(NMHDR* pNMHDR, LRESULT* pResult);
  void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()

 private:
  CImageList m_images;
};

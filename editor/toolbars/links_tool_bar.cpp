#include "editor/toolbars/links_tool_bar.h"

#include "editor/services/web_pages.h"
#include "editor/toolbars/toolbar_images.h"
#include "editor/toolbars/toolbar_names.h"
#include "editor/toolbars/toolbar_res.h"
#include "editor_settings/helpers/toolbar_ctrl_ex.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/logging/log.h"

using namespace toolbars;

IMPLEMENT_DYNAMIC(CLinksToolBar, CToolBar)

BEGIN_MESSAGE_MAP(CLinksToolBar, CToolBar)
  ON_WM_CREATE()
  ON_WM_ERASEBKGND()
  ON_NOTIFY_REFLECT(TBN_GETINFOTIPW, OnGetInfoTip)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

namespace {

struct LinkButton {
  UINT id;
  UINT textId;
  BYTE style;
};

constexpr BYTE kTextButton = BTNS_BUTTON | BTNS_SHOWTEXT;
const LinkButton kLinks[] = {
    {kIdHomePage, kIdsHomePage, kTextButton | BTNS_AUTOSIZE},
    {kIdSupport, kIdsSupport, kTextButton | BTNS_AUTOSIZE},
    {kIdOfficialForum, kIdsOfficialForum, kTextButton | BTNS_AUTOSIZE},
    {kIdCommunityGroup, kIdsCommunityGroup, kTextButton | BTNS_AUTOSIZE},
    {kIdVideo, kIdsVideo, kTextButton},
};
constexpr int kLinkCount = sizeof(kLinks) / sizeof(kLinks[0]);

}  // namespace

BOOL CLinksToolBar::PreCreateWindow(CREATESTRUCT& cs) {
  if (!CToolBar::PreCreateWindow(cs)) return FALSE;
  cs.style |= TBSTYLE_LIST;
  return TRUE;
}

int CLinksToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  // The control makes its tooltip window while it is being created.
  lpCreateStruct->style |= TBSTYLE_TOOLTIPS;
  ModifyStyle(0, TBSTYLE_TOOLTIPS);
  if (CToolBar::OnCreate(lpCreateStruct) == -1) return -1;
  m_dwStyle |= CBRS_TOOLTIPS;
  CToolBarCtrl& ctrl = GetToolBarCtrl();
  const DWORD padding = static_cast<DWORD>(SendMessage(TB_GETPADDING));
  ctrl.SetPadding(LOWORD(padding) * 2, HIWORD(padding));
  ctrl.SetExtendedStyle(ctrl.GetExtendedStyle() | TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);

  if (m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 1)) {
    m_images.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    AddImageStrip(m_images, IDB_LINKS_TOOLBAR, kLinkCount);
    ctrl.SetImageList(&m_images);
  }
  TBBUTTON buttons[kLinkCount] = {};
  for (int i = 0; i < kLinkCount; ++i) {
    buttons[i].iBitmap = i;
    buttons[i].idCommand = static_cast<int>(kLinks[i].id);
    buttons[i].fsState = TBSTATE_ENABLED;
    buttons[i].fsStyle = kLinks[i].style;
    buttons[i].iString = -1;
  }
  if (!ctrl.AddButtons(kLinkCount, buttons)) LogError(L"links toolbar: TB_ADDBUTTONS failed");
  Relabel();
  return 0;
}

void CLinksToolBar::Relabel() {
  if (!m_hWnd) return;
  // Each text on its own: a text holding a line feed, or none at all, cannot
  // shift its neighbours the way one joined string list would.
  for (int i = 0; i < kLinkCount; ++i) {
    CLngString text;
    text.LoadString(kLinks[i].textId);
    const int index = CommandToIndex(kLinks[i].id);
    if (index >= 0) SetButtonText(index, text.c_str());
  }
  SendMessage(TB_AUTOSIZE);
}

std::wstring CLinksToolBar::GetLinkTip(UINT id) {
  std::wstring tip = GetCommandLongPrompt(id);
  const std::wstring address = GetCommandWebAddress(id);
  if (!address.empty()) tip += kAddressSeparator + address;
  return tip;
}

void CLinksToolBar::OnGetInfoTip(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* info = reinterpret_cast<NMTBGETINFOTIPW*>(pNMHDR);
  CopyInfoTip(info, GetLinkTip(static_cast<UINT>(info->iItem)));
  if (HWND tips = reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)))
    ::SendMessageW(tips, TTM_SETMAXTIPWIDTH, 0, kLinksTipWidth);
  *pResult = 0;
}

BOOL CLinksToolBar::OnEraseBkgnd(CDC* pDC) {
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  ::FillRect(pDC->GetSafeHdc(), &client, ::GetSysColorBrush(COLOR_BTNFACE));
  return TRUE;
}

void CLinksToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = PaintToolBarBackground(pNMHDR, COLOR_BTNFACE);
}

#include "editor/toolbars/tooltip_title.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "platform/mfc/tests/control_host.h"

namespace {

// Keeps the title the control was given (it does not give it back here).
class CTitleRecordingTip : public CToolTipCtrl {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == TTM_SETTITLEW) {
      m_title = lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"";
      m_icon = wParam;
    }
    return CToolTipCtrl::WindowProc(message, wParam, lParam);
  }
  std::wstring m_title;
  WPARAM m_icon = 0;
};

TEST(ToolTipTitleTest, LongTitlesAreCutTo97CharactersAndAnEllipsis) {
  const std::wstring title97(97, L't');
  EXPECT_EQ(MakeToolTipTitle(title97), title97);
  EXPECT_EQ(MakeToolTipTitle(title97 + L"x"), title97 + L"\u2026");
  EXPECT_EQ(MakeToolTipTitle(std::wstring(2000, L'y')), std::wstring(97, L'y') + L"\u2026");
  EXPECT_EQ(MakeToolTipTitle(L""), L"");

  CControlHost host;
  CTitleRecordingTip tips;
  ASSERT_TRUE(tips.Create(&host));
  EXPECT_TRUE(SetToolTipTitle(tips.m_hWnd, title97 + L"x", TTI_INFO));
  EXPECT_EQ(tips.m_title, title97 + L"\u2026");
  EXPECT_EQ(tips.m_icon, static_cast<WPARAM>(TTI_INFO));
  EXPECT_FALSE(SetToolTipTitle(nullptr, L"x", TTI_NONE));
}

}  // namespace

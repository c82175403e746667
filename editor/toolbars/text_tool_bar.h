// The phrase view's toolbar: undo, redo, clipboard, Into Menu Name, the
// data-type and macro drop-downs and the Read Only switch, which blinks to
// show why typing does nothing.
#pragma once
#include <windows.h>

#include <string>

#include "editor_settings/helpers/toolbar_ctrl_ex.h"
#include "platform/mfc/controls/image_list.h"

class CTextToolBar : public CToolBarCtrlEx {
  DECLARE_DYNAMIC(CTextToolBar)

 public:
  CTextToolBar() = default;
  ~CTextToolBar() override = default;

  // The Insert Macro and Read Only buttons get their localised texts and
  // widths; the same text gives the same width however often it runs.
  void RefreshTexts();
  // The data type (0 text, 1 RTF, 2 start) the data-type tip describes.
  void SetCurrentType(int type) { CurrentType = type; }
  // Enables and checks the Read Only button, each only when it differs.
  void SetReadOnlyButton(BOOL checked, BOOL enabled);
  // Hides and shows the Read Only button twice on a thread of its own; a
  // request while that runs only beeps (when asked).
  void Blink(bool beep);

  std::wstring GetButtonTip(UINT id) override;

  bool Blinking = false;
  // The parent handles NM_CUSTOMDRAW as well (after the toolbar's default).
  bool ParentDraws = false;
  CImageList m_images;
  // Images of the data types in the image list.
  int RtfImage = -1;
  int TextImage = -1;
  int ExecImage = -1;
  int CurrentType = 0;

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  BOOL OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  LRESULT OnBlinkDone(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void BuildImages();
  // The macro button's width before its text: kept from the first run.
  int m_macroBaseWidth = -1;
};

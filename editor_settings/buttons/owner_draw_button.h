// COwnerDrawButton: the base of buttons that draw themselves. It keeps the
// kind of button the dialog gave (push, default push, check box, radio,
// group box) for the dialog manager while the control itself is owner-drawn.
#pragma once
#include <windows.h>

#include "platform/mfc/controls/button.h"

namespace qlr_editor {

class COwnerDrawButton : public CButton {
 public:
  COwnerDrawButton() = default;

  bool IsPushButton() const { return m_isPush; }
  bool IsDefaultButton() const { return m_isDefault; }
  UINT GetOriginalType() const { return m_type; }

 protected:
  void PreSubclassWindow() override;
  LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  bool m_isPush = false;
  bool m_isDefault = false;
  UINT m_type = BS_PUSHBUTTON;
};

}  // namespace qlr_editor

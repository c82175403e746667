// CPhraseRichEdit: the rich edit control a phrase's text is edited in. It
// adds a cue text while empty, bold/italic/underline toggles, a read-only
// mode with its own background that reports typing to its parent, a context
// menu with the Edit commands and a macro submenu, hover help for the
// macros written in the text, and no overtype mode.
#pragma once
#include <windows.h>

#include <richedit.h>

#include <string>

#include "editor_settings/helpers/window_text_painter.h"
#include "htmldraw/tooltip/pp_tooltip.h"
#include "platform/mfc/controls/rich_edit_ctrl.h"
#include "platform/mfc/controls/tooltip_ctrl.h"

// WM_NOTIFY code sent to the parent when a key would type into the text
// while it is read-only.
constexpr UINT kPhraseEditReadOnlyTyping = 2816;
// The hover timer and its delay.
constexpr UINT_PTR kMacroHoverTimer = 2342;
constexpr UINT kMacroHoverDelay = 500;
// Typing and pasting stop at this many characters (a longer text loaded
// into the control keeps its length).
constexpr LONG kPhraseTextLimit = 50000;
// String ids: the default cue text and the title of the macro submenu.
constexpr UINT kIdsPhraseCue = 61210;
constexpr UINT kIdsMacro = 130;
// The menu resource the context menu copies its item texts from.
constexpr UINT kMainMenuResource = 128;

class CPhraseRichEdit;

// Draws the cue string while the control is empty and unfocused.
class CPhraseCuePainter : public CWindowTextPainter {
 public:
  explicit CPhraseCuePainter(const CPhraseRichEdit& owner);
  bool IsTextShown() const override;
  int GetBackgroundColorIndex() const override;

 private:
  const CPhraseRichEdit& m_owner;
};

class CPhraseRichEdit : public CRichEditCtrl {
  DECLARE_DYNAMIC(CPhraseRichEdit)

 public:
  CPhraseRichEdit();
  ~CPhraseRichEdit() override;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  BOOL SetReadOnly(BOOL bReadOnly = TRUE);
  bool IsReadOnly() const { return ReadOnly; }
  bool IsBold() const { return HasEffect(CFM_BOLD, CFE_BOLD); }
  bool IsItalic() const { return HasEffect(CFM_ITALIC, CFE_ITALIC); }
  bool IsUnderline() const { return HasEffect(CFM_UNDERLINE, CFE_UNDERLINE); }
  void SetBold(bool on) { SetEffect(CFM_BOLD, on ? CFE_BOLD : 0); }
  void SetItalic(bool on) { SetEffect(CFM_ITALIC, on ? CFE_ITALIC : 0); }
  void SetUnderline(bool on) { SetEffect(CFM_UNDERLINE, on ? CFE_UNDERLINE : 0); }
  bool HasSelection() const;
  // Empties the selection (undoable) unless the text is read-only.
  void Clear();
  void SetCueString(UINT id) { CuePainter.SetStringId(id); }
  UINT GetCueString() const { return CuePainter.GetStringId(); }
  // Whether the cue is drawn now: no text and no focus.
  bool IsCueWanted() const;

  // The HTML of the macro tip shown last; empty while none is shown.
  const std::wstring& GetTipText() const { return TipText; }
  CPPToolTip& GetHtmlTip() { return HtmlTip; }

  // The context menu (the caller destroys it) and where it opens: at the
  // point, or below the caret for a menu asked for from the keyboard
  // (both coordinates -1).
  HMENU BuildContextMenu();
  CPoint ContextMenuPoint(CPoint point) const;

 protected:
  int OnCreate(LPCREATESTRUCT lpCreateStruct);
  void OnContextMenu(CWnd* pWnd, CPoint point);
  BOOL OnKillFocusReflect();
  BOOL OnSetFocusReflect();
  void OnPaint();
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnTimer(UINT_PTR nIDEvent);
  BOOL OnLinkReflect(NMHDR* pNMHDR, LRESULT* pResult);
  void OnMouseLeave();
  void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

 private:
  void InitTips();
  bool HasEffect(DWORD mask, DWORD effect) const;
  void SetEffect(DWORD mask, DWORD effects);
  void HideMacroTip();
  void ShowMacroTip();
  // Loads keep their whole text: the limit is lifted for the load and then
  // set to the larger of the usual limit and the text's length.
  LRESULT LoadUnlimited(UINT message, WPARAM wParam, LPARAM lParam);
  // Pasting and replacing stop at the limit.
  LRESULT InsertLimited(UINT message, WPARAM wParam, LPARAM lParam);
  void ReportReadOnlyTyping();

  CPhraseCuePainter CuePainter;
  std::wstring TipText;
  CToolTipCtrl Tips;
  CPPToolTip HtmlTip;
  bool HoverPending = true;
  LONG LastMouseX = -1;
  LONG LastMouseY = -1;
  bool Tracking = false;
  LONG HalfScreenWidth = 0;
  bool ReadOnly = false;
  // The overtype mode as the Insert key switched it, for rich edit versions
  // that cannot report it.
  bool m_insertToggled = false;
};

// True for a key that types into (or edits) the text: not a modifier,
// navigation, Insert, Tab, Escape, a lock or a function key.
bool IsPhraseTypingKey(UINT virtualKey);

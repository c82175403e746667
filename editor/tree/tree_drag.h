// Dragging of tree items with the mouse. While a drag runs the controller
// subclasses the tree's window: it moves an insert mark after the item
// under the cursor, scrolls when the cursor nears an edge, opens a folder
// the cursor rests on, and on the release hands the drop to its drop slot.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "platform/mfc/afxcmn.h"

class CTreeDragController {
 public:
  enum Option : UINT {
    kOptionTrackTip = 1,        // a tracking tooltip with the tip slot's text
    kOptionAutoExpand = 2,      // open a folder after a hover
    kOptionAskCanDrop = 4,      // ask the can-drop slot for the item under the cursor
    kOptionExpandOnIconOnly = 8 // the hover wait starts only off the label
  };
  static constexpr UINT kDefaultOptions = kOptionAutoExpand | kOptionAskCanDrop | kOptionExpandOnIconOnly;
  static constexpr UINT_PTR kTimerScroll = 8654;
  static constexpr UINT_PTR kTimerExpand = 8655;
  static constexpr UINT_PTR kTimerCaptureLost = 8656;
  static constexpr UINT kScrollDelay = 50;
  static constexpr UINT kExpandDelay = 400;
  static constexpr UINT_PTR kTipId = 7686;
  static constexpr int kTipWidth = 300;

  CTreeDragController() = default;
  CTreeDragController(const CTreeDragController&) = delete;
  CTreeDragController& operator=(const CTreeDragController&) = delete;
  virtual ~CTreeDragController();

  virtual void OnKeyDown(UINT key, POINT point) {}
  virtual void OnKeyUp(UINT key, POINT point) {}
  virtual std::wstring GetTipText(HTREEITEM item) { return std::wstring(); }
  virtual bool CanDrop(HTREEITEM item, POINT point) { return true; }
  // target is null when the drop landed on no item.
  virtual void OnDrop(HTREEITEM dragged, HTREEITEM target, POINT point) {}
  virtual void OnDragMove(HTREEITEM target, POINT point) {}

  // False (and nothing started) without a tree or item, or while a drag runs.
  bool Start(HWND tree, HTREEITEM item);
  // Ends a running drag with no drop.
  void Cancel() { End(); }

  bool IsDragging() const { return m_tree != nullptr; }
  HTREEITEM GetDraggedItem() const { return m_dragItem; }
  HTREEITEM GetDropTarget() const { return m_dropTarget; }
  // The cursor made from the drag image; null when the tree gave none.
  HCURSOR GetDragCursor() const { return m_dragCursor; }
  UINT GetOptions() const { return m_options; }
  void SetOptions(UINT options) { m_options = options; }
  // Whether the controller's subclass sits on the window.
  static bool IsSubclassing(HWND window);

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallOld(UINT message, WPARAM wParam, LPARAM lParam);
  void Unsubclass();
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnMove(POINT point);
  void OnRelease(POINT point);
  void OnTimer(UINT_PTR id);
  void UpdateScrollDirections(POINT point, int itemHeight);
  void UpdateAutoExpand(HTREEITEM item, UINT hitFlags);
  void UpdateTip(HTREEITEM item, POINT point);
  static void RepaintBand(HWND tree, HTREEITEM item);
  void MakeDragCursor();
  void PrepareTip();
  HTREEITEM HitTest(POINT point, UINT* flags) const;
  int ItemHeight() const;
  void End();

  UINT m_options = kDefaultOptions;
  CToolTipCtrl m_tip;
  HWND m_tree = nullptr;
  WNDPROC m_oldProc = nullptr;
  HWND m_subclassed = nullptr;  // may outlast a drag (see Unsubclass)
  HTREEITEM m_dragItem = nullptr;
  HTREEITEM m_dropTarget = nullptr;
  HTREEITEM m_expandItem = nullptr;
  HCURSOR m_dragCursor = nullptr;
  HCURSOR m_oldCursor = nullptr;
  int m_cursorState = 0;  // 0 none, 1 drag cursor (or arrow), 2 no-drop
  int m_scrollV = 0;      // -1 up, 1 down
  int m_scrollH = 0;      // -1 left, 1 right
  POINT m_lastPoint = {};
};

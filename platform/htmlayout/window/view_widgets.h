// The native child controls of a view's form widgets: a check box for
// <widget type=checkbox> (and <input type=checkbox>), an edit with an
// up-down control for <input type=number>. Each follows its element: the
// checked and disabled states and the value, both ways.
#pragma once
#include <windows.h>

#include <climits>
#include <vector>

#include "platform/htmlayout/dom.h"

namespace hl {

struct NumberRange {
  int min = INT_MIN, max = INT_MAX, step = 1;
};
// The range of a number input: minvalue/min, maxvalue/max (swapped when the
// minimum lies above the maximum), step (1 when absent or not positive).
NumberRange NumberRangeOf(const Node& node);

class ViewWidgets {
 public:
  explicit ViewWidgets(HWND view) : m_view(view) {}
  ~ViewWidgets() { Clear(); }
  ViewWidgets(const ViewWidgets&) = delete;
  ViewWidgets& operator=(const ViewWidgets&) = delete;

  void Clear();
  // Shows the widgets of the page at their rectangles (client coordinates,
  // empty: hidden); a widget of an element no longer shown is hidden.
  void Place(const std::vector<Node*>& nodes, const std::vector<RECT>& rects);
  // The element changed: its control follows at once.
  void Sync(const Node* node);
  void SyncAll();
  // A notification from a child; true when it was one of ours. The element
  // is updated first; event is set to the behaviour event to send, target to
  // its element (null: none).
  bool OnCommand(HWND child, UINT code, UINT* event, Node** target);
  // The check box of the element, for a click on its label.
  HWND CheckBoxOf(const Node* node) const;

 private:
  struct Widget {
    Node* node;
    HWND control;
    HWND spin;  // number inputs
  };
  Widget* Find(const Node* node);
  void Create(Node* node);
  void SyncWidget(Widget& w);

  HWND m_view;
  std::vector<Widget> m_widgets;
  bool m_syncing = false;
};

}  // namespace hl

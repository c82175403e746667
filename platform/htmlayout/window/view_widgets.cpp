#include "platform/htmlayout/window/view_widgets.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <string>

#include "platform/htmlayout/controls.h"
#include "platform/htmlayout/htmlayout.h"

namespace hl {
namespace {

const int kFirstId = 0x4000;

bool ReadInt(const std::wstring& text, long long& out) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  bool negative = i < text.size() && text[i] == L'-';
  if (negative || (i < text.size() && text[i] == L'+')) ++i;
  long long v = 0;
  size_t digits = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
    if (v < (1LL << 40)) v = v * 10 + (text[i] - L'0');
  }
  while (i < text.size() && text[i] == L' ') ++i;
  if (!digits || i != text.size()) return false;
  out = negative ? -v : v;
  return true;
}

bool AttributeInt(const Node& node, const char* name, long long& out) {
  const Attribute* a = node.FindAttribute(name);
  return a && ReadInt(a->value, out);
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  return text;
}

}  // namespace

NumberRange NumberRangeOf(const Node& node) {
  NumberRange r;
  long long v;
  if (AttributeInt(node, "minvalue", v) || AttributeInt(node, "min", v))
    r.min = static_cast<int>(std::max<long long>(v, INT_MIN));
  if (AttributeInt(node, "maxvalue", v) || AttributeInt(node, "max", v))
    r.max = static_cast<int>(std::min<long long>(v, INT_MAX));
  if (r.min > r.max) std::swap(r.min, r.max);
  if (AttributeInt(node, "step", v) && v > 0) r.step = static_cast<int>(std::min<long long>(v, INT_MAX));
  return r;
}

void ViewWidgets::Clear() {
  for (Widget& w : m_widgets) {
    if (w.spin) DestroyWindow(w.spin);
    if (w.control) DestroyWindow(w.control);
  }
  m_widgets.clear();
}

ViewWidgets::Widget* ViewWidgets::Find(const Node* node) {
  for (Widget& w : m_widgets) {
    if (w.node == node) return &w;
  }
  return nullptr;
}

HWND ViewWidgets::CheckBoxOf(const Node* node) const {
  for (const Widget& w : m_widgets) {
    if (w.node == node && !w.spin) return w.control;
  }
  return nullptr;
}

void ViewWidgets::Create(Node* node) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(m_view, GWLP_HINSTANCE));
  const int id = kFirstId + static_cast<int>(m_widgets.size());
  Widget w = {node, nullptr, nullptr};
  HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (OwnControlType(*node) == CTL_CHECKBOX) {
    w.control = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX, 0, 0, 13, 13, m_view,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  } else {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    w.control = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 40,
                                20, m_view, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (w.control) {
      SendMessageW(w.control, EM_LIMITTEXT, 12, 0);
      w.spin = CreateWindowExW(0, UPDOWN_CLASSW, L"",
                               WS_CHILD | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0,
                               0, 0, m_view, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id + 0x2000)), instance,
                               nullptr);
    }
  }
  if (!w.control) return;
  SendMessageW(w.control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  m_widgets.push_back(w);
  SyncWidget(m_widgets.back());
}

void ViewWidgets::SyncWidget(Widget& w) {
  m_syncing = true;
  const bool enabled = !(w.node->state & STATE_DISABLED);
  if (!w.spin) {
    SendMessageW(w.control, BM_SETCHECK, (w.node->state & STATE_CHECKED) ? BST_CHECKED : BST_UNCHECKED, 0);
  } else {
    const NumberRange r = NumberRangeOf(*w.node);
    if (w.spin) {
      SendMessageW(w.spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(w.control), 0);
      SendMessageW(w.spin, UDM_SETRANGE32, static_cast<WPARAM>(r.min), static_cast<LPARAM>(r.max));
      UDACCEL accel = {0, static_cast<UINT>(r.step)};
      SendMessageW(w.spin, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    }
    const Attribute* value = w.node->FindAttribute("value");
    std::wstring text = value ? value->value : std::wstring();
    if (text.size() > 12) text.resize(12);
    if (WindowText(w.control) != text) SetWindowTextW(w.control, text.c_str());
    if (w.spin) EnableWindow(w.spin, enabled);
  }
  EnableWindow(w.control, enabled);
  m_syncing = false;
}

void ViewWidgets::Sync(const Node* node) {
  if (Widget* w = Find(node)) SyncWidget(*w);
}

void ViewWidgets::SyncAll() {
  for (Widget& w : m_widgets) SyncWidget(w);
}

void ViewWidgets::Place(const std::vector<Node*>& nodes, const std::vector<RECT>& rects) {
  std::vector<char> shown(m_widgets.size(), 0);
  for (size_t i = 0; i < nodes.size() && i < rects.size(); ++i) {
    Widget* w = Find(nodes[i]);
    if (!w) {
      Create(nodes[i]);
      w = Find(nodes[i]);
      if (!w) continue;
      shown.push_back(0);
    }
    const RECT& r = rects[i];
    if (IsRectEmpty(&r)) continue;
    shown[static_cast<size_t>(w - m_widgets.data())] = 1;
    const int h = r.bottom - r.top;
    if (!w->spin) {
      const int box = 13;
      SetWindowPos(w->control, nullptr, r.left, r.top + (h - box) / 2, box, box, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      const int eh = std::max(h + 4, 18);
      SetWindowPos(w->control, nullptr, r.left, r.top + (h - eh) / 2, r.right - r.left, eh,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      // The up-down control takes its place at the edit's right again.
      SendMessageW(w->spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(w->control), 0);
    }
  }
  for (size_t i = 0; i < m_widgets.size(); ++i) {
    const int show = shown[i] ? SW_SHOWNA : SW_HIDE;
    ShowWindow(m_widgets[i].control, show);
    if (m_widgets[i].spin) ShowWindow(m_widgets[i].spin, show);
  }
}

bool ViewWidgets::OnCommand(HWND child, UINT code, UINT* event, Node** target) {
  *event = 0;
  *target = nullptr;
  for (Widget& w : m_widgets) {
    if (w.control != child) continue;
    if (m_syncing) return true;
    if (!w.spin && (code == BN_CLICKED)) {
      const bool checked = SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED;
      w.node->state = checked ? (w.node->state | STATE_CHECKED) : (w.node->state & ~STATE_CHECKED);
      *event = BUTTON_STATE_CHANGED;
      *target = w.node;
    } else if (w.spin && (code == EN_CHANGE || code == EN_KILLFOCUS)) {
      // The element holds the value within its range; the edit keeps what is
      // typed until it loses the focus.
      const NumberRange r = NumberRangeOf(*w.node);
      long long v;
      std::wstring text = WindowText(child);
      if (ReadInt(text, v)) {
        v = std::min<long long>(std::max<long long>(v, r.min), r.max);
        std::wstring clamped = std::to_wstring(v);
        w.node->SetAttribute("value", clamped.c_str());
        if (code == EN_KILLFOCUS && clamped != text) SyncWidget(w);
      } else if (text.empty()) {
        w.node->SetAttribute("value", nullptr);
      } else if (code == EN_KILLFOCUS) {
        SyncWidget(w);  // no number: the edit shows the value held again
      }
      if (code == EN_CHANGE) {
        *event = EDIT_VALUE_CHANGED;
        *target = w.node;
      }
    }
    return true;
  }
  return false;
}

}  // namespace hl

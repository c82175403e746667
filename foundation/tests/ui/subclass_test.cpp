#include "foundation/ui/subclass.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> g_trace;

LRESULT CALLBACK BottomProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) g_trace.push_back(L"bottom");
  if (m == WM_DESTROY) g_trace.push_back(L"bottom-destroy");
  return ::DefWindowProcW(h, m, w, l);
}

HWND CreateBottomWindow() {
  static ATOM atom = [] {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BottomProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QlrRegistryTestBottom";
    return ::RegisterClassW(&wc);
  }();
  return ::CreateWindowExW(0, MAKEINTATOM(atom), L"start", WS_POPUP, 0, 0, 10, 10, nullptr,
                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

struct Tag {
  std::wstring name;
  bool keep = false;  // clears the pass-on flag
  LRESULT answer = 0;
};

LRESULT TagCallback(HWND, UINT msg, WPARAM, LPARAM, LONG_PTR user, BOOL* passOn, WNDPROC) {
  auto* tag = reinterpret_cast<Tag*>(user);
  if (msg == WM_APP || msg == WM_SETTEXT || msg == WM_DESTROY) {
    g_trace.push_back(tag->name + (msg == WM_DESTROY ? L"-destroy" : L""));
    if (tag->keep) *passOn = FALSE;
  }
  return tag->answer;
}

WNDPROC g_foreignPrev = nullptr;
LRESULT CALLBACK ForeignProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) g_trace.push_back(L"foreign");
  return ::CallWindowProcW(g_foreignPrev, h, m, w, l);
}

std::vector<std::wstring> Trace(HWND h) {
  g_trace.clear();
  ::SendMessageW(h, WM_APP, 0, 0);
  return g_trace;
}

using Names = std::vector<std::wstring>;

TEST(SubclassRegistryTest, CallbackSeesMessagesAndMayKeepThem) {
  HWND h = CreateBottomWindow();
  Tag tag{L"tag", false, 77};
  EXPECT_FALSE(SubclassWindowProc(h, nullptr, 0));
  EXPECT_FALSE(SubclassWindowProc(nullptr, TagCallback, 0));
  EXPECT_FALSE(IsWindowSubclassed(h));
  ASSERT_TRUE(SubclassWindowProc(h, TagCallback, reinterpret_cast<LONG_PTR>(&tag)));
  EXPECT_TRUE(IsWindowSubclassed(h));
  Tag other{L"other"};
  EXPECT_FALSE(SubclassWindowProc(h, TagCallback, reinterpret_cast<LONG_PTR>(&other)));
  EXPECT_EQ((Names{L"tag", L"bottom"}), Trace(h));  // the first callback stays

  ::SetWindowTextW(h, L"passed");
  wchar_t text[32] = {};
  ::GetWindowTextW(h, text, 32);
  EXPECT_STREQ(L"passed", text);
  tag.keep = true;
  EXPECT_EQ(77, ::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"kept")));
  ::GetWindowTextW(h, text, 32);
  EXPECT_STREQ(L"passed", text);
  EXPECT_EQ((Names{L"tag"}), Trace(h));

  // WM_DESTROY reaches the window's own procedure whatever the flag says,
  // and ends the subclassing.
  g_trace.clear();
  ::DestroyWindow(h);
  EXPECT_EQ((Names{L"tag-destroy", L"bottom-destroy"}), g_trace);
  EXPECT_FALSE(IsWindowSubclassed(h));
  EXPECT_FALSE(UnsubclassWindowProc(h));
}

TEST(SubclassRegistryTest, RemovalInAnyOrderKeepsTheChainWhole) {
  HWND h1 = CreateBottomWindow();
  HWND h2 = CreateBottomWindow();
  WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h1, GWLP_WNDPROC));
  Tag a{L"a"}, b{L"b"};
  ASSERT_TRUE(SubclassWindowProc(h1, TagCallback, reinterpret_cast<LONG_PTR>(&a)));
  ASSERT_TRUE(SubclassWindowProc(h2, TagCallback, reinterpret_cast<LONG_PTR>(&b)));
  g_foreignPrev = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(h1, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForeignProc)));
  EXPECT_EQ((Names{L"foreign", L"a", L"bottom"}), Trace(h1));
  EXPECT_EQ((Names{L"b", L"bottom"}), Trace(h2));

  // Ours is below the foreign procedure: removing it must not cut the
  // foreign one out, nor lose the window's own procedure.
  ASSERT_TRUE(UnsubclassWindowProc(h1));
  EXPECT_FALSE(IsWindowSubclassed(h1));
  EXPECT_EQ((Names{L"foreign", L"bottom"}), Trace(h1));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(ForeignProc), ::GetWindowLongPtrW(h1, GWLP_WNDPROC));
  // Subclassing again reuses the place in the chain.
  ASSERT_TRUE(SubclassWindowProc(h1, TagCallback, reinterpret_cast<LONG_PTR>(&b)));
  EXPECT_EQ((Names{L"foreign", L"b", L"bottom"}), Trace(h1));
  ASSERT_TRUE(UnsubclassWindowProc(h1));

  // The other window is on top: its procedure comes back exactly.
  ASSERT_TRUE(UnsubclassWindowProc(h2));
  EXPECT_EQ(original, reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h2, GWLP_WNDPROC)));
  EXPECT_EQ((Names{L"bottom"}), Trace(h2));

  g_trace.clear();
  ::DestroyWindow(h1);  // the pass-through ends with the window
  EXPECT_EQ((Names{L"bottom-destroy"}), g_trace);
  ::DestroyWindow(h2);
}

}  // namespace

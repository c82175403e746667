#include "platform/mfc/core/string.h"

#include <gtest/gtest.h>

#include "platform/mfc/window/wnd.h"

namespace {

enum class Op { Replace, TrimLeftSet, TrimRightSet, Trim, FindText, FindChar, ReverseFind, Mid, Left, Right };

struct Case {
  Op op;
  const wchar_t* text;
  const wchar_t* a;
  const wchar_t* b;
  int n;
  const wchar_t* expectText;
  int expectNumber;
};

TEST(CStringTest, EditsAndSearchesInOneTable) {
  const Case cases[] = {
      {Op::Replace, L"aaa", L"aa", L"b", 0, L"ba", 1},          // left to right, no overlap
      {Op::Replace, L"abab", L"ab", L"abab", 0, L"abababab", 2}, // replaced text not read again
      {Op::Replace, L"x", L"", L"y", 0, L"x", 0},               // empty old text: nothing
      {Op::Replace, L"a.b.c", L".", L"", 0, L"abc", 2},
      {Op::TrimLeftSet, L"\r\n\r\nx\r\n", L"\r\n", nullptr, 0, L"x\r\n", -1},
      {Op::TrimRightSet, L"path\\\\", L"\\/", nullptr, 0, L"path", -1},
      {Op::TrimRightSet, L"\\\\", L"\\", nullptr, 0, L"", -1},
      {Op::Trim, L" \t x y \n", nullptr, nullptr, 0, L"x y", -1},
      {Op::FindText, L"abcabc", L"bc", nullptr, 2, nullptr, 4},
      {Op::FindText, L"abc", L"", nullptr, 3, nullptr, 3},
      {Op::FindText, L"abc", L"c", nullptr, 9, nullptr, -1},    // start past the end
      {Op::FindChar, L"abc", L"a", nullptr, -1, nullptr, -1},   // negative start
      {Op::FindChar, L"a;b;c", L";", nullptr, 2, nullptr, 3},
      {Op::ReverseFind, L"C:\\a\\b.txt", L"\\", nullptr, 0, nullptr, 4},
      {Op::ReverseFind, L"abc", L"x", nullptr, 0, nullptr, -1},
      {Op::Mid, L"abc", nullptr, nullptr, 5, L"", -1},
      {Op::Mid, L"abcdef", nullptr, nullptr, 2, L"cdef", -1},
      {Op::Left, L"abc", nullptr, nullptr, -2, L"", -1},
      {Op::Left, L"abc", nullptr, nullptr, 9, L"abc", -1},
      {Op::Right, L"abc", nullptr, nullptr, 2, L"bc", -1},
  };
  for (const Case& c : cases) {
    CString s(c.text);
    int number = -1;
    CString result;
    switch (c.op) {
      case Op::Replace: number = s.Replace(c.a, c.b); result = s; break;
      case Op::TrimLeftSet: result = s.TrimLeft(c.a); break;
      case Op::TrimRightSet: result = s.TrimRight(c.a); break;
      case Op::Trim: result = s.Trim(); break;
      case Op::FindText: number = s.Find(c.a, c.n); break;
      case Op::FindChar: number = s.Find(c.a[0], c.n); break;
      case Op::ReverseFind: number = s.ReverseFind(c.a[0]); break;
      case Op::Mid: result = s.Mid(c.n); break;
      case Op::Left: result = s.Left(c.n); break;
      case Op::Right: result = s.Right(c.n); break;
    }
    SCOPED_TRACE(testing::Message() << "case text " << static_cast<int>(c.op));
    if (c.expectText) EXPECT_STREQ(result, c.expectText);
    EXPECT_EQ(number, c.expectNumber);
  }
}

TEST(CStringTest, FormatTakesWideAndNarrowAndGrowsPastItsFirstBuffer) {
  CString s;
  s.Format(L"%ls-SCBar-%d %hs", L"Bar", 3, "narrow");
  EXPECT_STREQ(s, L"Bar-SCBar-3 narrow");
  std::wstring longText(5000, L'x');
  s.Format(L"[%ls]", longText.c_str());
  EXPECT_EQ(s.GetLength(), 5002);
  EXPECT_EQ(s.CompareNoCase(L"[" + CString(longText) + L"]"), 0);
}

TEST(CStringTest, BufferCaseAndConcatenation) {
  CString s;
  wchar_t* buffer = s.GetBuffer(10);
  wcscpy(buffer, L"MiXeD");
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 5);
  CString upper = s;
  upper.MakeUpper();
  CString lower = s;
  lower.MakeLower();
  EXPECT_STREQ(upper + L"/" + lower, L"MIXED/mixed");
  EXPECT_EQ(s.CompareNoCase(L"mixed"), 0);
  EXPECT_NE(s.Compare(L"mixed"), 0);
}

TEST(RuntimeClassTest, CreatesByClassAndKnowsItsName) {
  CObject* object = RUNTIME_CLASS(CWnd)->CreateObject();
  ASSERT_NE(object, nullptr);
  EXPECT_STREQ(object->GetRuntimeClass()->m_lpszClassName, L"CWnd");
  EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
  EXPECT_FALSE(RUNTIME_CLASS(CCmdTarget)->IsDerivedFrom(RUNTIME_CLASS(CWnd)));
  EXPECT_EQ(RUNTIME_CLASS(CCmdTarget)->CreateObject(), nullptr);  // not creatable
  delete object;
}

}  // namespace

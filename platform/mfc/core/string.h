// CString: a value string over std::wstring with the operations the
// editor's code is written against. Positions are zero-based; a search that
// finds nothing answers -1. Format follows the wide printf family, so wide
// arguments are "%ls" and narrow ones "%hs".
#pragma once
#include <windows.h>

#include <string>

class CString {
 public:
  CString() = default;
  CString(const wchar_t* text) : m_s(text ? text : L"") {}
  CString(const wchar_t* text, int length) : m_s(text ? text : L"", text && length > 0 ? length : 0) {}
  CString(const std::wstring& text) : m_s(text) {}
  CString(wchar_t ch, int repeat = 1) : m_s(repeat > 0 ? repeat : 0, ch) {}

  int GetLength() const { return static_cast<int>(m_s.size()); }
  BOOL IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  wchar_t GetAt(int index) const;
  void SetAt(int index, wchar_t ch);
  wchar_t operator[](int index) const { return GetAt(index); }
  operator const wchar_t*() const { return m_s.c_str(); }
  const wchar_t* GetString() const { return m_s.c_str(); }
  const std::wstring& Str() const { return m_s; }

  CString& operator=(const wchar_t* text) { m_s = text ? text : L""; return *this; }
  CString& operator=(const std::wstring& text) { m_s = text; return *this; }
  CString& operator=(wchar_t ch) { m_s.assign(1, ch); return *this; }
  CString& operator+=(const CString& other) { m_s += other.m_s; return *this; }
  CString& operator+=(const wchar_t* text) { if (text) m_s += text; return *this; }
  CString& operator+=(wchar_t ch) { m_s += ch; return *this; }

  int Compare(const wchar_t* text) const;
  int CompareNoCase(const wchar_t* text) const;

  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;

  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* sub, int start = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* charSet) const;

  // Every occurrence, left to right, without re-reading replaced text;
  // answers the count. An empty old text replaces nothing.
  int Replace(const wchar_t* oldText, const wchar_t* newText);
  int Replace(wchar_t oldCh, wchar_t newCh);
  int Remove(wchar_t ch);
  int Insert(int index, const wchar_t* text);
  int Delete(int index, int count = 1);

  CString& TrimLeft();  // white space
  CString& TrimLeft(wchar_t ch);
  CString& TrimLeft(const wchar_t* charSet);
  CString& TrimRight();
  CString& TrimRight(wchar_t ch);
  CString& TrimRight(const wchar_t* charSet);
  CString& Trim() { TrimRight(); return TrimLeft(); }
  CString& Trim(const wchar_t* charSet) { TrimRight(charSet); return TrimLeft(charSet); }

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  void Format(const wchar_t* format, ...);
  void FormatV(const wchar_t* format, va_list args);
  void AppendFormat(const wchar_t* format, ...);

  // A writable buffer of at least minLength characters (plus terminator);
  // ReleaseBuffer takes the text up to newLength or, with -1, up to the
  // first terminator.
  wchar_t* GetBuffer(int minLength = 0);
  wchar_t* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  // The localised text of the string id (the bound language file first,
  // then the program's string table); false and empty when neither has it.
  BOOL LoadString(UINT id);

 private:
  std::wstring m_s;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const wchar_t* b);
CString operator+(const wchar_t* a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);
inline bool operator==(const CString& a, const CString& b) { return a.Str() == b.Str(); }
inline bool operator==(const CString& a, const wchar_t* b) { return a.Compare(b) == 0; }
inline bool operator==(const wchar_t* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
inline bool operator!=(const wchar_t* a, const CString& b) { return !(b == a); }
inline bool operator<(const CString& a, const CString& b) { return a.Str() < b.Str(); }

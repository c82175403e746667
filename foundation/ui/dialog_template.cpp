#include "foundation/ui/dialog_template.h"

#include <cstring>

namespace {

// Reads a resource's bytes, never past their end.
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
  bool Ok() const { return m_ok; }
  size_t Position() const { return m_at; }
  WORD Word() { return Read<WORD>(); }
  DWORD DWord() { return Read<DWORD>(); }
  short Short() { return Read<short>(); }
  BYTE Byte() { return Read<BYTE>(); }
  void AlignToDWord() { m_at = (m_at + 3) & ~static_cast<size_t>(3); }
  // A zero-terminated string.
  std::wstring Text() {
    std::wstring text;
    for (WORD c = Word(); m_ok && c; c = Word()) text += static_cast<wchar_t>(c);
    return text;
  }
  // A string or an ordinal (0xFFFF, value): the ordinal in *ordinal, 0 for
  // a string.
  std::wstring TextOrOrdinal(WORD* ordinal) {
    *ordinal = 0;
    if (m_at + sizeof(WORD) <= m_size) {
      WORD first = 0;
      std::memcpy(&first, m_data + m_at, sizeof(first));
      if (first == 0xFFFF) {
        Word();
        *ordinal = Word();
        return std::wstring();
      }
    }
    return Text();
  }
  void Skip(size_t bytes) {
    if (m_at + bytes > m_size) m_ok = false;
    else m_at += bytes;
  }

 private:
  template <class T>
  T Read() {
    T value{};
    if (!m_ok || m_at + sizeof(T) > m_size) {
      m_ok = false;
      return value;
    }
    std::memcpy(&value, m_data + m_at, sizeof(T));
    m_at += sizeof(T);
    return value;
  }
  const BYTE* m_data;
  size_t m_size;
  size_t m_at = 0;
  bool m_ok = true;
};

// The classes a template names by ordinal.
const wchar_t* PredefinedClass(WORD ordinal) {
  switch (ordinal) {
    case 0x80: return L"Button";
    case 0x81: return L"Edit";
    case 0x82: return L"Static";
    case 0x83: return L"ListBox";
    case 0x84: return L"ScrollBar";
    case 0x85: return L"ComboBox";
    default: return nullptr;
  }
}

void PutDWord(std::vector<DWORD>& frame, size_t at, DWORD value) {
  std::memcpy(reinterpret_cast<BYTE*>(frame.data()) + at, &value, sizeof(value));
}

void PutWord(std::vector<DWORD>& frame, size_t at, WORD value) {
  std::memcpy(reinterpret_cast<BYTE*>(frame.data()) + at, &value, sizeof(value));
}

}  // namespace

bool DialogTemplate::Load(HINSTANCE module, UINT id) {
  m_module = module;
  m_frame.clear();
  m_controls.clear();
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
  HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
  const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
  const size_t size = found ? ::SizeofResource(module, found) : 0;
  if (!data) return false;
  TemplateReader in(data, size);
  // DLGTEMPLATEEX starts with its version 1 and the signature 0xFFFF,
  // DLGTEMPLATE with its style.
  const WORD version = in.Word();
  const bool extended = version == 1 && in.Word() == 0xFFFF;
  size_t styleAt = 0, countAt = 8;
  DWORD style = 0;
  WORD count = 0;
  if (extended) {
    in.DWord();  // help id
    in.DWord();  // extended style
    styleAt = in.Position();
    style = in.DWord();
    countAt = in.Position();
    count = in.Word();
  } else {
    in = TemplateReader(data, size);
    style = in.DWord();
    in.DWord();
    count = in.Word();
  }
  for (int i = 0; i < 4; ++i) in.Short();  // x, y, cx, cy
  WORD menu = 0, windowClass = 0;
  if (!in.TextOrOrdinal(&menu).empty() || menu) return false;
  in.TextOrOrdinal(&windowClass);
  in.Text();  // caption
  if (style & DS_SETFONT) {
    in.Word();  // point size
    if (extended) {
      in.Word();  // weight
      in.Byte();  // italic
      in.Byte();  // character set
    }
    in.Text();
  }
  if (!in.Ok()) return false;
  const size_t frameBytes = in.Position();
  for (WORD i = 0; i < count; ++i) {
    in.AlignToDWord();
    Control control;
    if (extended) {
      in.DWord();  // help id
      control.exStyle = in.DWord();
      control.style = in.DWord();
    } else {
      control.style = in.DWord();
      control.exStyle = in.DWord();
    }
    control.x = in.Short();
    control.y = in.Short();
    control.cx = in.Short();
    control.cy = in.Short();
    control.id = extended ? in.DWord() : in.Word();
    WORD classOrdinal = 0, textOrdinal = 0;
    control.className = in.TextOrOrdinal(&classOrdinal);
    control.text = in.TextOrOrdinal(&textOrdinal);
    const WORD extra = in.Word();
    if (classOrdinal) {
      const wchar_t* name = PredefinedClass(classOrdinal);
      if (!name) return false;
      control.className = name;
    }
    m_controls.push_back(std::move(control));
  }
  if (!in.Ok()) return false;
  m_frame.assign((frameBytes + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  std::memcpy(m_frame.data(), data, frameBytes);
  PutDWord(m_frame, styleAt, style & ~static_cast<DWORD>(WS_VISIBLE));
  PutWord(m_frame, countAt, 0);
  return true;
}

bool DialogTemplate::MakeControls(HWND dialog, size_t* next, size_t count) const {
  // Dialog units to pixels as the dialog manager counts them: each of
  // place and size on its own.
  RECT units = {0, 0, 4, 8};
  if (!::MapDialogRect(dialog, &units)) return false;
  const auto font = static_cast<WPARAM>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
  for (size_t made = 0; made < count && *next < m_controls.size(); ++made) {
    const Control& c = m_controls[*next];
    // A bordered control gets the sunken edge of the dialog's 3-D look.
    DWORD style = c.style | WS_CHILD;
    DWORD exStyle = c.exStyle | WS_EX_NOPARENTNOTIFY;
    if (style & WS_BORDER) {
      style &= ~static_cast<DWORD>(WS_BORDER);
      exStyle |= WS_EX_CLIENTEDGE;
    }
    HWND control = ::CreateWindowExW(
        exStyle, c.className.c_str(), c.text.c_str(), style,
        MulDiv(c.x, units.right, 4), MulDiv(c.y, units.bottom, 8), MulDiv(c.cx, units.right, 4),
        MulDiv(c.cy, units.bottom, 8), dialog, reinterpret_cast<HMENU>(static_cast<ULONG_PTR>(c.id)), m_module,
        nullptr);
    if (!control) return false;
    if (font) ::SendMessageW(control, WM_SETFONT, font, 0);
    if (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
      ::SendMessageW(dialog, DM_SETDEFID, c.id, 0);
    ++*next;
  }
  return true;
}

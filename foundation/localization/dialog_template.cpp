#include "foundation/localization/dialog_template.h"

#include <cstring>

namespace {

// Reads a dialog template with bounds checks; a read past the end marks
// the reader failed and returns zeros.
class TemplateReader {
 public:
  TemplateReader(const void* data, size_t size)
      : m_data(static_cast<const BYTE*>(data)), m_size(data ? size : 0) {}

  bool Ok() const { return m_ok; }

  WORD Word() {
    WORD v = 0;
    Read(&v, sizeof(v));
    return v;
  }
  DWORD Dword() {
    DWORD v = 0;
    Read(&v, sizeof(v));
    return v;
  }
  void Skip(size_t n) {
    if (n > m_size - m_pos) return Fail();
    m_pos += n;
  }
  // Items start on a 32-bit boundary of the template.
  void AlignDword() { Skip((4 - m_pos % 4) % 4); }

  // A string or an ordinal: 0x0000 none, 0xFFFF followed by the ordinal,
  // else a zero-terminated string.
  std::wstring SzOrOrd(WORD* ordinal = nullptr) {
    if (ordinal) *ordinal = 0;
    WORD first = Word();
    if (!m_ok || first == 0) return std::wstring();
    if (first == 0xFFFF) {
      WORD ord = Word();
      if (ordinal) *ordinal = ord;
      return std::wstring();
    }
    std::wstring text(1, static_cast<wchar_t>(first));
    return text + Sz();
  }
  std::wstring Sz() {
    std::wstring text;
    for (;;) {
      WORD ch = Word();
      if (!m_ok || ch == 0) break;
      text += static_cast<wchar_t>(ch);
    }
    return text;
  }

 private:
  void Fail() {
    m_ok = false;
    m_pos = m_size;
  }
  void Read(void* out, size_t n) {
    if (!m_ok || n > m_size - m_pos) return Fail();
    std::memcpy(out, m_data + m_pos, n);
    m_pos += n;
  }

  const BYTE* m_data;
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};

std::wstring PredefinedClassName(WORD atom) {
  switch (atom) {
    case 0x0080: return L"Button";
    case 0x0081: return L"Edit";
    case 0x0082: return L"Static";
    case 0x0083: return L"ListBox";
    case 0x0084: return L"ScrollBar";
    case 0x0085: return L"ComboBox";
    default: return std::wstring();
  }
}

void ReadHeaderTail(TemplateReader& r, DialogTemplateInfo* info) {
  r.SzOrOrd();  // menu
  r.SzOrOrd();  // window class
  info->caption = r.Sz();
  if (info->style & DS_SETFONT) {  // DS_SHELLFONT includes it
    r.Word();  // point size
    if (info->extended) {
      r.Word();     // weight
      r.Skip(2);    // italic, charset
    }
    r.Sz();  // typeface
  }
}

void ReadControl(TemplateReader& r, bool extended, DialogTemplateControl* control) {
  r.AlignDword();
  if (extended) {
    r.Dword();  // help id
    r.Dword();  // extended style
    r.Dword();  // style
  } else {
    r.Dword();  // style
    r.Dword();  // extended style
  }
  r.Skip(4 * sizeof(short));  // x, y, cx, cy
  // The created control's id: a 16-bit id stays positive, a 32-bit one is
  // taken as signed, as GetDlgCtrlID gives it back.
  control->id = extended ? static_cast<int>(r.Dword()) : static_cast<int>(r.Word());
  WORD atom = 0;
  control->className = r.SzOrOrd(&atom);
  if (control->className.empty()) control->className = PredefinedClassName(atom);
  control->text = r.SzOrOrd();
  WORD extra = r.Word();
  r.Skip(extra);
}

}  // namespace

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplateInfo* info) {
  *info = DialogTemplateInfo();
  TemplateReader r(data, size);
  WORD version = r.Word();
  WORD signature = r.Word();
  info->extended = r.Ok() && version == 1 && signature == 0xFFFF;
  WORD count = 0;
  if (info->extended) {
    r.Dword();  // help id
    r.Dword();  // extended style
    info->style = r.Dword();
  } else {
    info->style = MAKELONG(version, signature);
    r.Dword();  // extended style
  }
  count = r.Word();
  r.Skip(4 * sizeof(short));
  ReadHeaderTail(r, info);
  for (WORD i = 0; i < count && r.Ok(); ++i) {
    DialogTemplateControl control;
    ReadControl(r, info->extended, &control);
    if (r.Ok()) info->controls.push_back(std::move(control));
  }
  return r.Ok();
}

bool LoadDialogTemplate(HMODULE module, WORD id, std::vector<BYTE>* bytes) {
  bytes->clear();
  if (!module) module = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (!res) return false;
  HGLOBAL loaded = LoadResource(module, res);
  DWORD size = SizeofResource(module, res);
  const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (!data || size == 0) return false;
  bytes->assign(data, data + size);
  return true;
}

#include "platform/htmlayout/controls.h"

#include <cwchar>

namespace hl {
namespace {

struct TypeName {
  const wchar_t* name;
  UINT type;
};

// The type attribute of <input> and <widget>.
const TypeName kInputTypes[] = {
    {L"text", CTL_EDIT},         {L"number", CTL_NUMERIC},   {L"checkbox", CTL_CHECKBOX},
    {L"radio", CTL_RADIO},       {L"button", CTL_BUTTON},    {L"submit", CTL_BUTTON},
    {L"reset", CTL_BUTTON},      {L"password", CTL_PASSWORD}, {L"textarea", CTL_TEXTAREA},
    {L"hidden", CTL_NO},
};

UINT TypeFromAttribute(const Node& node, UINT otherwise) {
  const Attribute* type = node.FindAttribute("type");
  if (!type) return otherwise;
  for (const TypeName& t : kInputTypes) {
    if (CompareStringOrdinal(type->value.c_str(), -1, t.name, -1, TRUE) == CSTR_EQUAL) return t.type;
  }
  return CTL_UNKNOWN;
}

wchar_t* CopyString(const std::wstring& text) {
  size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  auto* copy = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, bytes));
  if (copy) memcpy(copy, text.c_str(), bytes);
  return copy;
}

void SetString(VALUE& value, const std::wstring& text) {
  wchar_t* copy = CopyString(text);
  if (!copy) return;
  value.t = T_STRING;
  value.d = reinterpret_cast<UINT64>(copy);
}

// A decimal integer with blanks around it; anything else is no number.
bool ParseInt(const std::wstring& text, int& out) {
  size_t i = 0, n = text.size();
  while (i < n && iswspace(text[i])) ++i;
  bool negative = i < n && text[i] == L'-';
  if (i < n && (text[i] == L'-' || text[i] == L'+')) ++i;
  long long v = 0;
  size_t digits = 0;
  for (; i < n && text[i] >= L'0' && text[i] <= L'9'; ++i, ++digits) {
    v = v * 10 + (text[i] - L'0');
    if (v > 0x7FFFFFFFLL + 1) return false;
  }
  while (i < n && iswspace(text[i])) ++i;
  if (digits == 0 || i != n) return false;
  if (negative) v = -v;
  if (v > 0x7FFFFFFFLL || v < -0x7FFFFFFFLL - 1) return false;
  out = static_cast<int>(v);
  return true;
}

const std::wstring& AttributeOrEmpty(const Node& node, const char* name) {
  static const std::wstring empty;
  const Attribute* a = node.FindAttribute(name);
  return a ? a->value : empty;
}

}  // namespace

UINT OwnControlType(const Node& node) {
  if (node.IsText()) return CTL_NO;
  if (node.tag == "input") return TypeFromAttribute(node, CTL_EDIT);
  if (node.tag == "widget") return TypeFromAttribute(node, CTL_UNKNOWN);
  if (node.tag == "textarea") return CTL_TEXTAREA;
  if (node.tag == "button") return CTL_BUTTON;
  if (node.tag == "a" && node.FindAttribute("href")) return CTL_HYPERLINK;
  return CTL_NO;
}

UINT ControlTypeAt(const Node& node) {
  for (const Node* n = &node; n; n = n->parent) {
    if (UINT type = OwnControlType(*n)) return type;
  }
  return CTL_NO;
}

bool ReadControlValue(const Node& node, VALUE& value) {
  ValueInit(&value);
  int number = 0;
  switch (OwnControlType(node)) {
    case CTL_NUMERIC:
      // An empty or unreadable input has no value (undefined).
      if (ParseInt(AttributeOrEmpty(node, "value"), number)) {
        value.t = T_INT;
        value.d = static_cast<UINT64>(static_cast<UINT>(number));
      }
      return true;
    case CTL_CHECKBOX:
    case CTL_RADIO:
      value.t = T_BOOL;
      value.d = (node.state & STATE_CHECKED) ? 1 : 0;
      return true;
    case CTL_EDIT:
    case CTL_PASSWORD:
      SetString(value, AttributeOrEmpty(node, "value"));
      return true;
    case CTL_TEXTAREA:
      SetString(value, node.text);
      return true;
    default:
      return false;
  }
}

}  // namespace hl

extern "C" {

UINT WINAPI ValueInit(VALUE* value) {
  if (!value) return 1;
  value->t = T_UNDEFINED;
  value->u = 0;
  value->d = 0;
  return 0;
}

UINT WINAPI ValueClear(VALUE* value) {
  if (!value) return 1;
  if (value->t == T_STRING && value->d) HeapFree(GetProcessHeap(), 0, reinterpret_cast<void*>(value->d));
  return ValueInit(value);
}

UINT WINAPI ValueCopy(VALUE* dst, const VALUE* src) {
  if (!dst || !src) return 1;
  if (dst == src) return 0;
  VALUE copy = *src;
  if (src->t == T_STRING && src->d) {
    wchar_t* text = hl::CopyString(reinterpret_cast<const wchar_t*>(src->d));
    if (!text) return 2;
    copy.d = reinterpret_cast<UINT64>(text);
  }
  ValueClear(dst);
  *dst = copy;
  return 0;
}

}  // extern "C"

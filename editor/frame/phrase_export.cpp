#include "editor/frame/phrase_export.h"

#include <windows.h>

#include "editor/store/command.h"
#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"
#include "foundation/ui/rich_edit.h"
#include "phrases/store/phrase_file.h"
#include "phrases/store/phrase_node.h"

namespace {

constexpr wchar_t kPhraseExtension[] = L".quillora";
constexpr char kUtf16Mark[] = "\xFF\xFE";

bool IsRtfPhrase(const CQLRCommand& record) { return record.DataType == kDataTypeRtf; }

bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
  if (!file) {
    LogError(L"Export cannot create [" + path + L"] error=" + IntToStr(static_cast<int>(GetLastError())));
    return false;
  }
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    LogError(L"Export cannot write [" + path + L"] error=" + IntToStr(static_cast<int>(GetLastError())));
    return false;
  }
  return true;
}

}  // namespace

bool ExportPhrase(const CQLRCommand& record, const std::wstring& path) {
  if (path.empty()) return false;
  if (EqualNoCase(GetFileExt(path), kPhraseExtension)) {
    CPhraseNode node;
    record.FillPhraseNode(node);
    return SavePhraseToFile(node, path);
  }
  if (IsRtfPhrase(record)) return WriteNewFile(path, NarrowRtf(record.m_cmd));
  std::string bytes(kUtf16Mark, 2);
  bytes.append(reinterpret_cast<const char*>(record.m_cmd.data()), record.m_cmd.size() * sizeof(wchar_t));
  return WriteNewFile(path, bytes);
}

std::wstring ExportFilter(const CQLRCommand& record) {
  std::wstring own = IsRtfPhrase(record) ? L"Text Files (*.rtf)|*.rtf" : L"Text Files (*.txt)|*.txt";
  return own + L"|Quillora Phrase (*.quillora)|*.quillora|All Files (*.*)|*.*||";
}

std::wstring ExportExtension(const CQLRCommand& record) { return IsRtfPhrase(record) ? L"rtf" : L"txt"; }

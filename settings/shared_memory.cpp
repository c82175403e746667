#include "settings/shared_memory.h"

#include <cstring>

#include "foundation/system/handles.h"
#include "foundation/system/security.h"

HANDLE CreateNamedMapping(const std::wstring& name, DWORD size, bool secure) {
  EveryoneSecurity everyone;
  SECURITY_ATTRIBUTES* sa = secure ? everyone.Get() : nullptr;
  return CreateFileMappingW(INVALID_HANDLE_VALUE, sa, PAGE_READWRITE, 0, size, name.c_str());
}

bool WriteSharedBlock(const void* data, DWORD size, const std::wstring& name) {
  if (!data || size == 0) return false;
  UniqueHandle mapping(CreateNamedMapping(name, size, true));
  if (!mapping) return false;
  void* view = MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, size);
  if (!view) return false;
  memcpy(view, data, size);
  FlushViewOfFile(view, size);
  return UnmapViewOfFile(view) != FALSE;
}

bool WriteSharedText(const char* text, const std::wstring& name) {
  // A plain null test: probing a pointer with IsBadStringPtr hides bugs and
  // can swallow a guard-page fault of another thread's stack.
  if (!text || text[0] == '\0') return false;
  return WriteSharedBlock(text, static_cast<DWORD>(strlen(text) + 1), name);
}

SharedView::SharedView(const std::wstring& name) {
  m_mapping.Reset(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
  if (!m_mapping) return;
  void* view = MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 0);
  if (!view) return;
  MEMORY_BASIC_INFORMATION info = {};
  if (VirtualQuery(view, &info, sizeof(info)) == 0) {
    UnmapViewOfFile(view);
    return;
  }
  m_data = static_cast<const char*>(view);
  m_size = info.RegionSize;
}

SharedView::~SharedView() {
  if (m_data) UnmapViewOfFile(m_data);
}

long SharedView::TextLength(size_t maxChars) const {
  if (!m_data) return -1;
  size_t limit = maxChars + 1 < m_size ? maxChars + 1 : m_size;
  const void* end = memchr(m_data, '\0', limit);
  return end ? static_cast<long>(static_cast<const char*>(end) - m_data) : -1;
}

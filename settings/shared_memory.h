// Named page-file mappings through which the programs hand each other data.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/system/handles.h"

// CreateFileMappingW on the paging file, read/write; with everyone-access
// security when secure and it can be built. The caller owns the handle.
HANDLE CreateNamedMapping(const std::wstring& name, DWORD size, bool secure);
// Creates (or opens) a mapping of size bytes, copies data into it and closes
// the handle again; true when the view was written and released.
bool WriteSharedBlock(const void* data, DWORD size, const std::wstring& name);
// A non-empty text with its terminating NUL.
bool WriteSharedText(const char* text, const std::wstring& name);

// A read-only view of a named mapping, released with the object.
class SharedView {
 public:
  explicit SharedView(const std::wstring& name);
  ~SharedView();
  SharedView(const SharedView&) = delete;
  SharedView& operator=(const SharedView&) = delete;

  bool HasMapping() const { return m_mapping.IsValid(); }  // opened, though maybe not mapped
  const char* Data() const { return m_data; }
  // Bytes that may be read: the mapped region, never more.
  size_t Size() const { return m_size; }
  // Length of the NUL-terminated text at the start, or -1 when no NUL lies
  // within maxChars bytes and the mapped size.
  long TextLength(size_t maxChars) const;

 private:
  UniqueHandle m_mapping;
  const char* m_data = nullptr;
  size_t m_size = 0;
};

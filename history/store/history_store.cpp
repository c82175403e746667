#include "history/store/history_store.h"

#include <algorithm>
#include <set>
#include <vector>

#include "foundation/files/paths.h"
#include "foundation/logging/log.h"
#include "foundation/system/handles.h"
#include "foundation/text/text_basics.h"
#include "foundation/ui/bitmaps.h"
#include "history/store/history_bitmap_file.h"
#include "history/store/history_descriptor.h"
#include "history/store/history_file_names.h"
#include "history/store/history_files.h"
#include "history/store/history_names.h"
#include "history/store/history_queue.h"

namespace hn = history_names;

namespace {

bool WriteAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

ULONGLONG ToNumber(const FILETIME& ft) {
  return (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

std::wstring WithSlash(const std::wstring& folder) {
  return !folder.empty() && folder.back() != L'\\' ? folder + L'\\' : folder;
}

void SetCreationTime(HANDLE file, const FILETIME& time) { SetFileTime(file, &time, nullptr, nullptr); }

bool WriteBitmapData(const std::wstring& path, HBITMAP bitmap, const FILETIME& captureTime) {
  // The name is taken first, so an existing file is never overwritten.
  UniqueHandle reserved(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!reserved) return false;
  reserved.Reset();
  if (!bitmap || !SaveBitmapToFile(path, bitmap)) {
    DeleteFileW(path.c_str());
    return false;
  }
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                nullptr));
  if (file) SetCreationTime(file.Get(), captureTime);
  return true;
}

}  // namespace

bool WriteHistoryDataFile(const std::wstring& path, const CCHItem& item, const FILETIME& captureTime,
                          bool readOnly) {
  if (item.Size() == 0 || !item.Data()) return false;
  bool written = false;
  if (item.kind == kHistoryKindBitmap) {
    written = WriteBitmapData(path, item.Bitmap(), captureTime);
  } else {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      LogError(L"Cannot create " + path + L", code=" + std::to_wstring(GetLastError()));
      return false;
    }
    static const unsigned char kMark[] = {0xFF, 0xFE};
    bool ok = item.kind != kHistoryKindUnicode || WriteAll(file.Get(), kMark, sizeof(kMark));
    written = ok && WriteAll(file.Get(), item.Data(), item.Size());
    if (written) SetCreationTime(file.Get(), captureTime);
    file.Reset();
    if (!written) DeleteFileW(path.c_str());  // a half file would load as a wrong item
  }
  if (written && readOnly) SetFileReadOnly(path, true);
  return written;
}

bool SaveHistoryItem(const std::wstring& folder, CCHItem& item) {
  if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) CreateDirectoryW(folder.c_str(), nullptr);
  std::wstring primary =
      MakeUniqueHistoryFileName(folder, GetHistoryFileExtension(item), GetHistoryBaseName(item));
  FILETIME captureTime = {};
  SystemTimeToFileTime(&item.captureTime, &captureTime);
  if (primary.empty() || !WriteHistoryDataFile(primary, item, captureTime, item.IsProtected())) return false;
  item.dataPath = primary;
  std::vector<std::wstring> written = {primary};

  if (item.descriptorPath.empty())
    item.descriptorPath = MakeUniqueHistoryFileName(folder, hn::kDescriptorExtension, hn::kDescriptorBase);
  HistoryDescriptor descriptor;
  descriptor.dataType = item.kind;
  descriptor.isProtected = item.IsProtected();
  descriptor.files.push_back(GetFileNameFromPath(primary));
  for (const auto& alternate : item.alternates) {
    if (!alternate) continue;
    std::wstring path = MakeUniqueHistoryFileName(folder, GetHistoryFileExtension(*alternate),
                                                  GetHistoryBaseName(*alternate));
    if (path.empty() || !WriteHistoryDataFile(path, *alternate, captureTime, item.IsProtected())) continue;
    descriptor.files.push_back(GetFileNameFromPath(path));
    alternate->dataPath = path;
    written.push_back(path);
  }
  descriptor.hasCaptureTime = true;
  descriptor.captureTime = ToNumber(captureTime);
  if (item.descriptorPath.empty() || !WriteHistoryDescriptor(item.descriptorPath, descriptor)) {
    LogError(L"Cannot write the history descriptor " + item.descriptorPath + L", code=" +
             std::to_wstring(GetLastError()));
    // Data files no descriptor names would only wait for the next clear.
    for (const std::wstring& path : written) DeleteHistoryFile(path);
    item.dataPath.clear();
    for (const auto& alternate : item.alternates)
      if (alternate && std::find(written.begin(), written.end(), alternate->dataPath) != written.end())
        alternate->dataPath.clear();
    return false;
  }
  item.storedState = kStoredSaved;
  return true;
}

std::unique_ptr<CCHItem> LoadHistoryDataFile(const std::wstring& path) {
  auto skip = [&](const std::wstring& why) {
    LogError(L"Skipped the history file " + path + L": " + why);
    return nullptr;
  };
  int kind = GetKindFromExtension(path);
  if (kind == kHistoryKindUnicode && EqualNoCase(GetFileExt(path), L".txt") && !IsUnicodeTextFile(path))
    kind = kHistoryKindAnsi;

  // Attributes, size and creation time in one call: a thousand items
  // make a thousand of these.
  WIN32_FILE_ATTRIBUTE_DATA info = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info)) return skip(L"missing");
  const DWORD attributes = info.dwFileAttributes;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return skip(L"a folder");
  const ULONGLONG size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  if (size == 0) return skip(L"empty");
  if (size > kMaxHistoryDataFileBytes) return skip(L"too large");
  const FILETIME created = info.ftCreationTime;
  const DWORD bytes = static_cast<DWORD>(size);
  // Other readers stay welcome (a program showing the file); a writer does not.
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return skip(L"cannot be opened, code=" + std::to_wstring(GetLastError()));

  auto item = std::make_unique<CCHItem>(kind);
  std::wstring problem;
  if (kind == kHistoryKindBitmap) {
    std::vector<unsigned char> data(bytes);
    DWORD read = 0;
    if (!ReadFile(file.Get(), data.data(), bytes, &read, nullptr) || read != bytes) return skip(L"cannot be read");
    HBITMAP bitmap = BitmapFromBmpBytes(data.data(), bytes, &problem);
    if (!bitmap) return skip(problem);
    item->SetBitmap(bitmap, true);
  } else {
    // Read straight into the item's buffer.
    auto* data = static_cast<unsigned char*>(item->AllocateData(bytes));
    if (!data) return skip(L"no memory for it");
    DWORD read = 0;
    if (!ReadFile(file.Get(), data, bytes, &read, nullptr) || read != bytes) return skip(L"cannot be read");
    // The mark says how the file is encoded; it is not part of the text.
    if (kind == kHistoryKindUnicode && bytes >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
      if (bytes == 2) return skip(L"empty");
      item->DropLeadingBytes(2);
    }
  }
  file.Reset();

  if (attributes & FILE_ATTRIBUTE_READONLY) item->SetProtected(true);
  FileTimeToSystemTime(&created, &item->captureTime);
  item->SetStoredState(kStoredLoaded, path);
  return item;
}

bool LoadHistory(const std::wstring& folder, CCHQueue* queue, bool keepTwins) {
  std::vector<std::wstring> names;
  if (ListHistoryDescriptors(folder, &names) == 0) return false;
  const std::wstring prefix = WithSlash(folder);
  std::set<std::wstring> usedFiles;  // upper case: each data file belongs to one item
  auto upper = [](std::wstring s) {
    CharUpperBuffW(&s[0], static_cast<DWORD>(s.size()));
    return s;
  };
  for (const std::wstring& name : names) {
    const std::wstring descriptorPath = prefix + name;
    HistoryDescriptor d;
    std::wstring problem;
    if (ReadHistoryDescriptor(descriptorPath, &d, &problem)) {
      for (const std::wstring& file : d.files) {
        // Names are joined to the folder, and deleting an item deletes
        // them: only plain names of data files of no other item.
        if (!IsPlainFileName(file)) problem = L"names a file outside the folder: " + file;
        else if (EqualNoCase(GetFileExt(file), hn::kDescriptorExtension)) problem = L"names a descriptor: " + file;
        else if (usedFiles.count(upper(file))) problem = L"names a file of another item: " + file;
        if (!problem.empty()) break;
      }
    }
    if (!problem.empty()) {
      LogError(L"Skipped the history descriptor " + descriptorPath + L": " + problem);
      continue;
    }
    std::unique_ptr<CCHItem> item = LoadHistoryDataFile(prefix + d.files[0]);
    if (!item) {
      LogError(L"Skipped the history descriptor " + descriptorPath + L": its first file did not load");
      continue;
    }
    for (const std::wstring& file : d.files) usedFiles.insert(upper(file));
    item->descriptorPath = descriptorPath;
    for (size_t i = 1; i < d.files.size(); ++i) {
      std::unique_ptr<CCHItem> alternate = LoadHistoryDataFile(prefix + d.files[i]);
      if (alternate) item->alternates.push_back(std::shared_ptr<CCHItem>(alternate.release()));
    }
    item->SetProtected(d.isProtected);
    if (d.hasCaptureTime) {
      FILETIME captured;
      captured.dwLowDateTime = static_cast<DWORD>(d.captureTime);
      captured.dwHighDateTime = static_cast<DWORD>(d.captureTime >> 32);
      FileTimeToSystemTime(&captured, &item->captureTime);
    }
    if (keepTwins) {
      queue->Append(std::move(item));
    } else {
      queue->Add(item.release(), -1);
    }
  }
  if (queue->Count() > 0) queue->SortByTime();
  return true;
}

bool LoadHistory(CCHQueue* queue) { return LoadHistory(GetClipboardHistoryFolder(), queue); }

// One remembered clipboard content: its primary data in one of six kinds,
// the other formats captured with it (alternates), and what the program
// knows about it: capture time, protection, where it is stored, captions.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

constexpr int kHistoryKindAnsi = 0;
constexpr int kHistoryKindUnicode = 1;  // UTF-16
constexpr int kHistoryKindRtf = 2;      // 8-bit
constexpr int kHistoryKindBrindle = 3;  // raw bytes of "Brindle Format"
constexpr int kHistoryKindBitmap = 4;
constexpr int kHistoryKindHtml = 5;  // 8-bit "HTML Format" data
constexpr int kHistoryKindCount = 6;

constexpr int kStoredNot = 0;
constexpr int kStoredLoaded = 1;
constexpr int kStoredSaved = 2;

class CCHItem {
 public:
  explicit CCHItem(int kind);
  ~CCHItem();
  CCHItem(const CCHItem&) = delete;
  CCHItem& operator=(const CCHItem&) = delete;

  // Takes a copy of size bytes (texts with their terminator) into a zeroed
  // buffer two bytes longer, in place of the old data; the alternates stay.
  // False when the buffer cannot be had.
  bool SetData(const void* bytes, std::uint32_t size);
  // A zeroed buffer for size bytes (plus the two zero bytes) in place of
  // the old data, for the caller to fill; null when it cannot be had.
  void* AllocateData(std::uint32_t size);
  // Removes the first count bytes of the data (a byte-order mark).
  void DropLeadingBytes(std::uint32_t count);
  // Kind 4: holds the bitmap; deletes it with the item when owns is set.
  void SetBitmap(HBITMAP bitmap, bool owns);
  const void* Data() const { return m_data; }
  std::uint32_t Size() const { return m_size; }
  HBITMAP Bitmap() const { return kind == 4 ? static_cast<HBITMAP>(m_data) : nullptr; }
  const wchar_t* Text() const;  // kind 1 only, else null
  // A hash of a bitmap's shape and pixels, made once: equal bitmaps have
  // equal fingerprints, so most unequal ones need no pixel compare.
  std::uint64_t BitmapFingerprint() const;

  void FreeData();
  void CopyFrom(const CCHItem& other);
  std::unique_ptr<CCHItem> Clone() const;
  // A clone with copies of the alternates instead of shared ones, for
  // another thread.
  std::unique_ptr<CCHItem> DeepClone() const;

  const CCHItem* FindFormat(int wantedKind) const;
  bool HasHtml(bool alternatesOnly) const;
  const CCHItem* GetHtml() const;

  void SetProtected(bool flag);
  // Makes the stored files (read-only bits, "Protected" key) say what the
  // flag says.
  void ApplyProtectionToFiles();
  bool IsProtected() const { return m_protected; }
  void SetStoredState(int state, const std::wstring& path);
  void ForgetStored();
  void TakeStoredPaths(const CCHItem& written);
  // After an edit: written again as new files; the edit count goes up.
  // The files of the version before stay until the new one is on disk
  // (an end before that brings the old version back, not nothing).
  void MarkEdited();
  // The new version is on disk: the files of the earlier ones go.
  void DeleteReplacedFiles();
  int CollectFiles(std::vector<std::wstring>* files) const;
  int DeleteFiles();

  std::wstring descriptorPath;
  std::wstring key;
  std::vector<std::shared_ptr<CCHItem>> alternates;
  bool ownsBitmap = true;
  std::wstring menuCaption;
  std::wstring tipText;
  std::wstring dataPath;
  std::uint32_t number = 0;
  std::wstring sourceUrl;
  int storedState = kStoredNot;
  int kind;
  SYSTEMTIME captureTime = {};
  LCID locale = 0;
  // Raised by every edit, so that a save of an older copy is recognised.
  std::uint32_t editCount = 0;
  // Files of versions before an edit, until the edited one is saved.
  // Copies do not take them: only the live item deletes them.
  std::vector<std::wstring> replacedFiles;

 private:
  void FreeBuffer();

  bool m_protected = false;
  mutable bool m_fingerprintValid = false;
  mutable std::uint64_t m_fingerprint = 0;
  void* m_data = nullptr;
  std::uint32_t m_size = 0;
};

// Same kind and same content: bitmaps by their pixels, texts as
// zero-terminated text; Brindle documents are never equal.
bool IsSameContent(const CCHItem& a, const CCHItem& b);
// Oldest first: year down to millisecond, the day of the week ignored.
int CompareSystemTimes(const SYSTEMTIME& a, const SYSTEMTIME& b);

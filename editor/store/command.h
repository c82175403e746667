// One phrase or phrase folder of the editor's phrase tree. A record begins
// with the menu record the tray program shows it as; a folder owns the list
// of its children (a phrase has none). Lists keep their records in place
// (std::list), so a record's address holds while its siblings come and go.
#pragma once
#include <windows.h>

#include <cstdint>
#include <list>
#include <string>

#include "foundation/system/shared_records.h"

class CPhraseNode;
class CQLRCommand;

using CommandList = std::list<CQLRCommand>;

class CQLRCommand : public CMenuRecord {
 public:
  CQLRCommand();
  ~CQLRCommand();
  // Assignment copies every field but moves the children list (and the
  // menu record's sub-record list): the source is left without one.
  CQLRCommand(CQLRCommand& other);
  CQLRCommand& operator=(CQLRCommand& other);
  CQLRCommand(CQLRCommand&& other) noexcept;
  CQLRCommand& operator=(CQLRCommand&& other) noexcept;

  bool IsFolder() const { return m_children != nullptr; }
  // Gives the record an empty children list (makes it a folder).
  void MakeFolder();
  CommandList* GetChildren() const { return m_children; }

  // The record id (the menu record's command id); never stored in files.
  std::uint32_t GetId() const { return CMDID; }
  void SetId(std::uint32_t id) { CMDID = id; }
  std::wstring GetMenuName() const { return caption; }
  std::wstring GetHint() const { return tooltip; }
  void SetMenuName(const std::wstring& title);  // at most 60 characters kept
  void SetHint(const std::wstring& hint);       // at most 512 characters kept

  // A phrase: its own flag. A folder: whether any record below is enabled.
  bool IsEnabled() const;
  // A phrase: true when the flag changed. A folder: the flag goes to every
  // record below and each phrase whose flag changed is saved; true.
  bool SetEnabled(bool value);

  int GetUsageCount() const { return m_usageCount; }
  void SetUsageCount(int count) { m_usageCount = count < 0 ? 0 : count; }
  bool GetDisabledIsNoHasSelection() const { return m_disabledIsNoHasSelection; }
  void SetDisabledIsNoHasSelection(bool value) { m_disabledIsNoHasSelection = value; }
  bool GetUseTitleOnly() const { return m_useTitleOnly; }
  void SetUseTitleOnly(bool value) { m_useTitleOnly = value; }
  bool GetDateUsage(SYSTEMTIME* out) const;  // false while unset (year 0)
  bool SetDateUsage(const SYSTEMTIME& date);  // refused for a folder
  bool HasDateUsage() const { return m_dateUsage.wYear != 0; }

  // The menu separators, with the bits the tray program's menu reads.
  bool IsSeparatorBefore() const;
  bool IsSeparatorAfter() const;
  bool SetSeparatorBefore(bool value);  // true when the bit changed
  bool SetSeparatorAfter(bool value);

  const std::wstring& GetFilePath() const { return m_filePath; }
  // A folder whose directory exists under the old path and not under the
  // new one has the directory moved first; when that move fails the old
  // path stays and the result is false.
  bool SetFilePath(const std::wstring& path);

  // New title (normalised, 60 characters) and the phrase file renamed to it.
  bool Rename(const std::wstring& title);
  // Renames an existing phrase file after the title; false when nothing was
  // renamed (a folder, no file, or the move failed). A name that differs
  // from the present one only in letter case keeps the file.
  bool RenameFileToTitle();

  // Queues the record's file content for writing: a phrase to its file, a
  // folder to "FOLDER_SELF.quillora" in its directory. The bytes are made
  // here, so the record may change or go away while the write runs. False
  // when the record has no path or nothing could be started.
  bool SaveAsync() const;
  // Path of the file that holds the record ("" without a path).
  std::wstring RecordFilePath() const;

  // Between the record and the phrase file format.
  void TakePhraseNode(CPhraseNode& node);
  void FillPhraseNode(CPhraseNode& node) const;

  std::wstring m_cmd;  // the phrase text
  std::uint32_t m_sortId = 0;
  bool m_useTitleOnly = false;
  SYSTEMTIME m_dateUsage = {};
  bool m_disabledIsNoHasSelection = false;
  int m_usageCount = 0;
  bool m_enabled = true;
  std::uint32_t m_flagsMenu = 0;

 private:
  void TakeFields(CQLRCommand& other);
  bool SetFlagBit(std::uint32_t bit, bool value);

  CommandList* m_children = nullptr;
  std::wstring m_filePath;
};

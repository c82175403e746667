// The editor's settings: every option of the tray program (the shared
// store it derives from) plus the editor's own keys and its list of recent
// phrase folders. Editor code reaches the one object through
// GetEditorSettings(), never through the tray program's GetSettings().
#pragma once
#include <functional>
#include <string>

#include "editor_settings/recent_folders.h"
#include "settings/settings.h"

class CQLREditorSettings : public CQLRSettings {
 public:
  // The shared keys, then the editor's.
  bool Load();
  // Writes a copy of the file in use and puts it in place only when every
  // key was written, so that a failed save leaves the old file whole.
  bool Save();
  // Writes one key of section "Settings_Editor" (LastFile,
  // ShowUncheckedPhrases or Preview) and nothing else, so that bookkeeping
  // never puts this object's older copy of the shared options over newer
  // ones another program wrote. False for another key or a failed write.
  bool SaveOwnKey(const wchar_t* key);
  // Saves one change over what the file holds now: the file is read into a
  // copy, the change made there and the copy saved; on success this object
  // takes the copy. Values the editor never heard of (options the tray
  // program changed meanwhile) thus stay, and a file that cannot be read
  // or written leaves this object as it was (false, the save's error
  // kept as the last error).
  bool SaveChangeOverFile(const std::function<void(CQLREditorSettings&)>& change);

  int GetPrevFoldersCount() const { return m_prevFolders.Count(); }
  std::wstring GetPrevFolder(int index) const { return m_prevFolders.Get(index); }
  void AddPrevFolder(const std::wstring& folder) { m_prevFolders.Add(folder); }

  // Loads done by this object (for tests and diagnostics).
  int GetLoadCount() const { return m_loadCount; }

  // Section "Settings_Editor".
  std::wstring lastFile;
  int ShowUncheckedPhrases = 1;  // kept as 0 or 1
  int Preview = 0;

 protected:
  void LoadOwnKeys(const std::wstring& iniPath) override;
  void SaveOwnKeys(const std::wstring& iniPath) override;

 private:
  RecentFolders m_prevFolders;
  bool m_ownKeysWritten = true;
  int m_loadCount = 0;
};

// The process-wide object: built and loaded on the first call. When the
// options changed meanwhile it is loaded again first, but only on the thread
// that made the first call (the main thread): a load replaces strings that
// the main thread may be reading, so other threads get the object as it is
// and copy what they need before they start.
CQLREditorSettings& GetEditorSettings();

// Called by the thread that watches the tray program's options-changed event;
// the next GetEditorSettings() on the main thread loads once.
void MarkEditorSettingsChanged();

// Held on the main thread while a command runs: a change announced then
// waits, GetEditorSettings() loads it only once no hold is left, so that
// a reload never undoes a command halfway (a toggle made, not saved yet).
class EditorSettingsReloadHold {
 public:
  EditorSettingsReloadHold();
  ~EditorSettingsReloadHold();
  EditorSettingsReloadHold(const EditorSettingsReloadHold&) = delete;
  EditorSettingsReloadHold& operator=(const EditorSettingsReloadHold&) = delete;
};
bool IsEditorSettingsReloadHeld();

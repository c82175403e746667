// Puts the texts of the current language file into a live dialog: section
// "Dialog[_name]_<id>", key = control id. Texts the file lacks are written
// into it (and every built-in text into "LocalizeExample.lng"), so the files
// gather each key that needs translating.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <set>
#include <string>

class CDialogLocalizer {
 public:
  // dialog is read when Localize runs; the template comes from module (a
  // program file loaded as a data file, or null for the running program).
  CDialogLocalizer(const HWND& dialog, WORD dialogId, const std::wstring& name,
                   HMODULE module = nullptr);
  // The handle is kept by reference: a temporary would dangle.
  CDialogLocalizer(HWND&&, WORD, const std::wstring&, HMODULE = nullptr) = delete;
  virtual int Localize();
  virtual HINSTANCE GetResourceInstance() const;
  virtual ~CDialogLocalizer() = default;
  virtual std::wstring GetLanguageFile() const;

  void ExcludeControl(int id) { m_excluded.insert(id); }
  std::wstring GetSectionName() const;

 private:
  const HWND& m_dialog;
  WORD m_dialogId;
  std::wstring m_name;
  std::set<int> m_excluded;
  HMODULE m_module;
};

// A dialog localiser that leaves a fixed list of controls untouched; the
// owner runs it at initialisation and again on every language change.
class CDialogLocalizerEx : public CDialogLocalizer {
 public:
  CDialogLocalizerEx(const HWND& dialog, WORD dialogId, const std::wstring& name,
                     std::initializer_list<int> untouched, HMODULE module = nullptr);
  CDialogLocalizerEx(HWND&&, WORD, const std::wstring&, std::initializer_list<int>,
                     HMODULE = nullptr) = delete;
};

// "Dialog", then "_" + name unless the name is empty ("_" left out when the
// name starts with one), then "_" + the id in decimal.
std::wstring MakeDialogSectionName(const std::wstring& name, WORD dialogId);
// Edit, rich edit, up-down and combo-box controls keep the user's text.
bool IsSkippedControlClass(HWND control);
bool IsSkippedControlClassName(const std::wstring& className);

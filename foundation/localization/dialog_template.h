// Dialog templates read from a module's resources (also one loaded as a data
// file): the controls' ids, classes and texts, without creating the dialog,
// and a hidden copy of a dialog built from the template.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct DialogTemplateControl {
  int id = 0;              // as GetDlgCtrlID reports it for the created control
  std::wstring className;  // predefined classes by name ("Button", "Edit"...)
  std::wstring text;       // empty when the template gives none or an ordinal
};

struct DialogTemplateInfo {
  bool extended = false;  // DLGTEMPLATEEX
  DWORD style = 0;
  std::wstring caption;
  std::vector<DialogTemplateControl> controls;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX of size bytes. False when the data
// ends before the template does; nothing is read beyond size.
bool ParseDialogTemplate(const void* data, size_t size, DialogTemplateInfo* info);

// Copies the bytes of dialog resource id from module (null: the running
// program); false when the resource is missing.
bool LoadDialogTemplate(HMODULE module, WORD id, std::vector<BYTE>* bytes);

// A dialog template from a module's resources, read once, whose dialog can
// be made in steps: first its frame alone, then its controls a few at a
// time, each made as the dialog manager makes it (same class, text,
// styles, place, font and order). A dialog of a hundred windows then never
// holds its thread for all of them at once.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class DialogTemplate {
 public:
  // False when the resource is missing or damaged, or has what the steps
  // do not make (a menu, ordinal texts or creation data of a control):
  // such a dialog is made in one go.
  bool Load(HINSTANCE module, UINT id);
  // The template's frame with no controls and not visible, for
  // CreateDialogIndirect; valid while the object lives.
  LPCDLGTEMPLATEW Frame() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_frame.data()); }
  HINSTANCE Module() const { return m_module; }
  size_t ControlCount() const { return m_controls.size(); }
  // Makes up to count controls from *next on into dialog (made from
  // Frame()); *next moves past each one made. False when one cannot be.
  bool MakeControls(HWND dialog, size_t* next, size_t count) const;

 private:
  struct Control {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::wstring className;
    std::wstring text;
  };
  HINSTANCE m_module = nullptr;
  std::vector<DWORD> m_frame;  // DWORD-aligned, as templates must be
  std::vector<Control> m_controls;
};

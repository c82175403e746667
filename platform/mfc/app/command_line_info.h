// CCommandLineInfo: what the program's arguments ask for. The application
// hands it every argument through ParseParam; a program derives from it to
// read its own switches. The programs here have no document files, so the
// shell command stays FileNew whatever the arguments are.
#pragma once
#include <windows.h>

#include "platform/mfc/core/object.h"
#include "platform/mfc/core/string.h"

class CCommandLineInfo : public CObject {
 public:
  CCommandLineInfo() = default;
  ~CCommandLineInfo() override = default;

  // pszParam without its "/" or "-" when bFlag; bLast for the last one.
  virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);

  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 }
  m_nShellCommand = FileNew;
  CString m_strFileName;  // the last plain argument, kept for the program; opens nothing
};

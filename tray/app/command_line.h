// The tray program's command line: one flag per known switch, the switch
// table, and the usage text shown for "/?".
#pragma once
#include <map>
#include <string>

class CCommandLineText {
 public:
  explicit CCommandLineText(const std::wstring& text) : m_text(text) {}
  virtual ~CCommandLineText() = default;
  virtual void Parse() = 0;
  const std::wstring& GetText() const { return m_text; }

 protected:
  std::wstring m_text;
};

class CCommandLine : public CCommandLineText {
 public:
  explicit CCommandLine(const std::wstring& text) : CCommandLineText(text) {}
  void Parse() override;

  int IsExit() const { return m_exit; }
  int IsUa() const { return m_ua; }
  int IsAutoload() const { return m_autoload; }
  int IsUsage() const { return m_usage; }
  int IsNoInstall() const { return m_noInstall; }
  int IsEdit() const { return m_edit; }
  int IsAsAdmin() const { return m_asAdmin; }
  int IsShowMenu() const { return m_showMenu; }
  int IsCfu() const { return m_cfu; }

 private:
  int m_exit = 0;
  int m_autoload = 0;
  int m_ua = 0;
  int m_noInstall = 0;
  int m_usage = 0;
  int m_edit = 0;
  int m_asAdmin = 0;
  int m_showMenu = 0;
  int m_cfu = 0;
};

// Switch ids of the table.
enum CommandLineSwitch {
  kSwitchExit = 0,
  kSwitchAutoload = 1,
  kSwitchUa = 2,
  kSwitchNoInstall = 3,
  kSwitchUsage = 4,
  kSwitchEdit = 6,
  kSwitchAsAdmin = 7,
  kSwitchShowMenu = 8,
  kSwitchCfu = 9,
};

// Empty for an id outside the table.
std::wstring GetSwitchName(int id);
std::wstring GetSwitchDescription(int id);
// "/asadmin", the switch a restart as administrator passes.
std::wstring GetAsAdminSwitch();

// True when "/name" or "-name" occurs in the text (exact case first, then
// ignoring case) and ends the text or is followed by white space. Only the
// first occurrence of each form counts.
bool FindSwitchInCommandLine(const std::wstring& text, const std::wstring& switchName);

// "Command Line Keys:" with one line per switch, for the usage box.
std::wstring GetCommandLineUsageText();
// map["/" + name] = description for every switch; the map's size after.
size_t FillSwitchDescriptions(std::map<std::wstring, std::wstring>& map);

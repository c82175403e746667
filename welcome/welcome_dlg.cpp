#include "welcome/welcome_dlg.h"

#include <commctrl.h>

#include <algorithm>

#include "foundation/files/file_version.h"
#include "foundation/files/files.h"
#include "foundation/files/ini.h"
#include "foundation/files/paths.h"
#include "foundation/files/program_names.h"
#include "foundation/localization/dialog_fonts.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_dialog_names.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/system/shell_open.h"
#include "foundation/text/date_helpers.h"
#include "foundation/text/text_basics.h"
#include "online/web_links.h"
#include "platform/atl/app_module.h"
#include "settings/settings_area.h"
#include "settings/settings_files.h"

namespace {

constexpr int kLayoutGap = 20;
constexpr int kLinkGap = 5;
constexpr size_t kStyleSheetMaxBytes = 1024 * 1024;
constexpr UINT kMoveByCaption = 0xF012;

std::wstring LngText(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

// The bytes of one of the program's type-23 resources.
std::string ResourceBytes(UINT id) {
  HINSTANCE instance = GetResourceInstanceHandle();
  HRSRC info = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(23));
  if (!info) return std::string();
  HGLOBAL data = LoadResource(instance, info);
  const void* bytes = data ? LockResource(data) : nullptr;
  const DWORD size = SizeofResource(instance, info);
  return bytes ? std::string(static_cast<const char*>(bytes), size) : std::string();
}

std::string ReadStyleSheetFile(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::string();
  if (data.nFileSizeHigh != 0 || data.nFileSizeLow > kStyleSheetMaxBytes) return std::string();
  size_t size = 0;
  std::unique_ptr<char[]> bytes = ReadFileToBuffer(path, &size);
  return bytes ? std::string(bytes.get(), size) : std::string();
}

std::wstring SubscribeURL() {
  return GetUpdateServiceSite() + (IsUILanguageRussian() ? L"Rus/subscribe.htm" : L"subscribe.shtml");
}

struct WatcherBlock {
  HANDLE event;
  HWND window;
};

DWORD WINAPI InstanceWatcher(LPVOID param) {
  std::unique_ptr<WatcherBlock> block(static_cast<WatcherBlock*>(param));
  while (WaitForSingleObject(block->event, INFINITE) == WAIT_OBJECT_0)
    PostMessageW(block->window, kWelcomeBringToFront, 0, 0);
  return 0;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT rc = {};
  GetWindowRect(child, &rc);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

}  // namespace

std::wstring GetWelcomeStoredLanguage() {
  std::wstring value = ReadLanguage(GetSettingsIniPath());
  if (value.size() > MAX_PATH) value.resize(MAX_PATH);
  return value;
}

std::wstring GetWelcomeLanguagePath(const std::wstring& language) {
  if (language.empty()) return std::wstring();
  if (language.find(L'\\') != std::wstring::npos) return language;
  return GetLngFolder() + language;
}

CWelcomeDlg::CWelcomeDlg(bool autoStart, HANDLE instanceEvent)
    : m_auto(autoStart), m_instanceEvent(instanceEvent) {
  m_localizer.reset(new CDialogLocalizerEx(
      m_hWnd, IDD_WELCOME, GetLngDialogName(kLngSuffixWelcome, IDD_WELCOME),
      {IDC_WELCOME_LANG_LIST, IDC_WELCOME_VIEW, IDC_WELCOME_HOME_LINK, IDC_WELCOME_TRANSLATE_LINK,
       IDC_WELCOME_SOCIAL_LINK}));
}

CWelcomeDlg::~CWelcomeDlg() = default;

BOOL CWelcomeDlg::PreTranslateMessage(MSG* pMsg) {
  return m_hWnd && ::IsDialogMessageW(m_hWnd, pMsg);
}

LRESULT CWelcomeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  StartInstanceWatcher();
  m_homeLink.SubclassWindow(GetDlgItem(IDC_WELCOME_HOME_LINK));
  m_homeLink.SetHyperLink(GetHomePageURL().c_str());
  m_translateLink.SubclassWindow(GetDlgItem(IDC_WELCOME_TRANSLATE_LINK));
  m_translateLink.SetHyperLink(GetLocalizationHowToURL().c_str());
  m_socialLink.SubclassWindow(GetDlgItem(IDC_WELCOME_SOCIAL_LINK));
  CreateHtmlView();
  PlaceWindow();
  FillLanguageList();
  ApplyLanguage(true);

  HINSTANCE instance = GetResourceInstanceHandle();
  HICON big = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_WELCOME), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  HICON small = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_WELCOME), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), 0));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

  if (CAppModule* module = CAppModule::Current()) {
    if (CMessageLoop* loop = module->GetMessageLoop()) {
      loop->AddMessageFilter(this);
      loop->AddIdleHandler(this);
    }
  }
  LoadWelcomePage();
  if (::SetTimer(m_hWnd, kWelcomeHintTimer, kWelcomeHintDelayMs, nullptr)) {
    m_hint = true;
    BlinkWindowFontAsync(GetDlgItem(IDC_WELCOME_LANG_LABEL), kWelcomeHintDone, m_hWnd);
  }
  IniWriteInt(GetSettingsIniPath().c_str(), settings_names::kSettings, settings_names::kWelcomeAlreadyStarted, 1);
  return TRUE;
}

void CWelcomeDlg::StartInstanceWatcher() {
  if (!m_instanceEvent) return;
  auto* block = new WatcherBlock{m_instanceEvent, m_hWnd};
  HANDLE thread = CreateThread(nullptr, 0, InstanceWatcher, block, 0, nullptr);
  if (thread) CloseHandle(thread);
  else delete block;
}

void CWelcomeDlg::CreateHtmlView() {
  HWND placeholder = GetDlgItem(IDC_WELCOME_VIEW);
  RECT rc = placeholder ? ChildRect(m_hWnd, placeholder) : RECT{0, 0, 100, 100};
  if (placeholder) ::DestroyWindow(placeholder);
  m_view = CreateWindowExW(WS_EX_CLIENTEDGE, HTMLayoutClassNameW(), L"",
                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL, rc.left, rc.top,
                           rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_WELCOME_VIEW)),
                           GetModuleInstanceHandle(), nullptr);
  if (m_view) HTMLayoutSetCallback(m_view, HtmlNotify, this);
}

void CWelcomeDlg::PlaceWindow() {
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int cx = std::max<int>(200, work.right - work.left - 100);
  const int cy = std::max<int>(150, work.bottom - work.top - 100);
  ::SetWindowPos(m_hWnd, nullptr, 50, 50, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT rc = {};
  ::GetWindowRect(m_hWnd, &rc);
  const int x = work.left + (work.right - work.left - (rc.right - rc.left)) / 2;
  const int y = work.top + (work.bottom - work.top - (rc.bottom - rc.top)) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CWelcomeDlg::FillLanguageList() {
  m_combo = GetDlgItem(IDC_WELCOME_LANG_LIST);
  if (!m_languagesFilled) {
    EnumLanguageFiles(m_languages, GetLocalizeExampleFileName().c_str());
    if (m_languages.empty()) m_languages.emplace_back();
    m_languagesFilled = true;
  }
  ::SendMessageW(m_combo, CB_RESETCONTENT, 0, 0);
  const std::wstring folder = GetLngFolder();
  const std::wstring current = GetWelcomeStoredLanguage();
  for (size_t i = 0; i < m_languages.size(); ++i) {
    const std::wstring& entry = m_languages[i];
    std::wstring shown = entry.empty() ? GetEmbeddedLanguageName() : GetLangLocalizedName(folder + entry);
    if (shown.empty()) shown = entry;
    ::SendMessageW(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    if (EqualNoCase(entry, current))
      ::SendMessageW(m_combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
  }
}

void CWelcomeDlg::ApplyLanguage(bool initial) {
  m_localizer->Localize();
  SetWindowText(LngText(IDS_WELCOME_TITLE).c_str());
  m_homeLink.SetLabel(LngText(IDS_WELCOME_HOME_PAGE).c_str());
  SetUILanguageIsRussian(IsRussianLangFile(GetCurrentLanguage()) ? 1 : 0);
  m_translateLink.SetHyperLink(GetLocalizationHowToURL().c_str());
  m_translateLink.SetLabel(LngText(IDS_WELCOME_TRANSLATE).c_str());
  m_socialLink.SetHyperLink(GetSocialPageURL().c_str());
  m_socialLink.SetLabel(LngText(IDS_WELCOME_SOCIAL).c_str());
  if (!initial) {
    for (CHyperLink* link : {&m_homeLink, &m_translateLink, &m_socialLink})
      link->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  }
}

void CWelcomeDlg::LoadWelcomePage() {
  if (!m_view) return;
  const std::wstring base = GetWelcomeBaseFolder(GetLngFolder());
  const std::wstring languagePath = GetWelcomeLanguagePath(GetWelcomeStoredLanguage());
  const std::wstring prefix = languagePath.empty() ? std::wstring() : GetLangPrefix(languagePath);
  WelcomePageRecord page = ChooseWelcomePage(base, prefix, ResourceBytes(IDR_WELCOME_PAGE));

  WelcomeFillRecord fill;
  SettingsAreaRecord area;
  const bool areaRead = ReadSettingsArea(area);
  fill.hotkeyBlock = BuildHotkeyBlock(areaRead, area.hotKeyKey, area.hotKeyMod, area.doubled,
                                      LngText(IDS_WELCOME_CURRENT_HOTKEY),
                                      LngText(IDS_WELCOME_UNKNOWN_HOTKEY), LngText(IDS_WELCOME_TWICE));
  fill.rssUrl = GetNewsFeedURL();
  fill.languageBlock = BuildLanguageBlock(page.label, page.fallback, base);
  fill.subscribeUrl = SubscribeURL();
  CFileVersionInfo version(static_cast<HMODULE>(nullptr));
  std::wstring versionText;
  if (version.Load()) versionText = BuildWelcomeVersionText(version.ProductVersion, GetBuildStamp());
  const std::string text = FillWelcomePage(page.text, fill, versionText.empty() ? nullptr : &versionText);

  m_pageBase = page.baseUrl;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text.data());
  if (page.baseUrl.empty()) HTMLayoutLoadHtml(m_view, bytes, static_cast<UINT>(text.size()));
  else HTMLayoutLoadHtmlEx(m_view, bytes, static_cast<UINT>(text.size()), page.baseUrl.c_str());
  ::ShowWindow(m_view, SW_SHOW);
  HTMLayoutWindowAttachEventHandler(m_view, ElementEvent, this, HANDLE_ALL);
}

LRESULT CALLBACK CWelcomeDlg::HtmlNotify(UINT msg, WPARAM, LPARAM lParam, LPVOID param) {
  auto* self = static_cast<CWelcomeDlg*>(param);
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!self || msg != WM_NOTIFY || !header || header->code != HLN_LOAD_DATA) return LOAD_OK;
  return self->OnHtmlLoadData(reinterpret_cast<NMHL_LOAD_DATA*>(lParam));
}

LRESULT CWelcomeDlg::OnHtmlLoadData(NMHL_LOAD_DATA* data) {
  if (data->dataType != HLRT_DATA_STYLE || !data->uri) return LOAD_OK;
  std::string sheet = ResourceBytes(IDR_WELCOME_STYLE);
  if (sheet.empty())
    sheet = ReadStyleSheetFile(GetWelcomeBaseFolder(GetLngFolder()) + L"HTML\\ext_style.css");
  if (!sheet.empty()) {
    HTMLayoutDataReady(data->hdr.hwndFrom, data->uri, reinterpret_cast<LPBYTE>(&sheet[0]),
                       static_cast<DWORD>(sheet.size()));
  }
  return LOAD_OK;
}

BOOL CALLBACK CWelcomeDlg::ElementEvent(LPVOID tag, HELEMENT, UINT group, LPVOID params) {
  auto* self = static_cast<CWelcomeDlg*>(tag);
  if (!self || !params) return FALSE;
  if (group == HANDLE_MOUSE) return self->OnHtmlMouse(static_cast<MOUSE_PARAMS*>(params));
  if (group == HANDLE_BEHAVIOR_EVENT) {
    auto* event = static_cast<BEHAVIOR_EVENT_PARAMS*>(params);
    if (event->cmd == (HYPERLINK_CLICK | SINKING)) return self->OnHyperlinkClick(event->heTarget);
  }
  return FALSE;
}

BOOL CWelcomeDlg::OnHtmlMouse(MOUSE_PARAMS* params) {
  if (params->cmd != MOUSE_DOWN || params->button_state != MAIN_MOUSE_BUTTON) return FALSE;
  UINT type = CTL_UNKNOWN;
  HTMLayout_UseElement(params->target);
  const bool ok = HTMLayoutControlGetType(params->target, &type) == HLDOM_OK;
  HTMLayout_UnuseElement(params->target);
  if (!ok || type != CTL_NO) return FALSE;
  ReleaseCapture();
  PostMessage(WM_SYSCOMMAND, kMoveByCaption, 0);
  return TRUE;
}

BOOL CWelcomeDlg::OnHyperlinkClick(HELEMENT link) {
  if (!link) return FALSE;
  HTMLayout_UseElement(link);
  LPCWSTR value = nullptr;
  std::wstring href;
  if (HTMLayoutGetAttributeByName(link, "href", &value) == HLDOM_OK && value) href = value;
  HTMLayout_UnuseElement(link);
  if (href.empty()) return FALSE;
  WelcomeCommand command;
  // The sibling programs lie beside this one, also in a Debug or Release
  // folder; only language files and pages are looked for one level up.
  if (ResolveWelcomeCommand(href, GetAppFolderWithSlash(), m_pageBase, &command)) {
    INT_PTR result = ShellOpen(m_hWnd, L"open", command.program.c_str(),
                               command.parameters.empty() ? nullptr : command.parameters.c_str(),
                               nullptr, SW_SHOW);
    MessageBeep(result <= 32 ? MB_ICONHAND : MB_ICONASTERISK);
    return TRUE;
  }
  if (IsWebAddress(href)) {
    ShellOpen(m_hWnd, L"open", href.c_str(), nullptr, nullptr, SW_SHOW);
    return TRUE;
  }
  return FALSE;
}

void CWelcomeDlg::LayoutControls(int cx, int cy) {
  HWND button = GetDlgItem(IDOK);
  if (!button) return;
  RECT b = ChildRect(m_hWnd, button);
  const int bw = b.right - b.left, bh = b.bottom - b.top;
  const int bx = std::max(0, cx - bw - kLayoutGap), by = std::max(0, cy - bh - kLayoutGap);
  ::SetWindowPos(button, nullptr, bx, by, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  RECT v = {};
  if (m_view) {
    v = ChildRect(m_hWnd, m_view);
    const int w = std::max<int>(0, cx - 2 * v.left);
    const int h = std::max<int>(0, by - v.top - kLayoutGap);
    ::SetWindowPos(m_view, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  RECT home = {};
  if (m_homeLink.m_hWnd) {
    ::SetWindowPos(m_homeLink, nullptr, v.left + kLinkGap, by, 0, 0,
                   SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    home = ChildRect(m_hWnd, m_homeLink);
  }
  if (m_socialLink.m_hWnd) {
    ::SetWindowPos(m_socialLink, nullptr, home.right + kLinkGap, by, 0, 0,
                   SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

LRESULT CWelcomeDlg::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam != SIZE_MINIMIZED) LayoutControls(LOWORD(lParam), HIWORD(lParam));
  return 0;
}

LRESULT CWelcomeDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (wParam != kWelcomeHintTimer) {
    bHandled = FALSE;
    return 0;
  }
  ::KillTimer(m_hWnd, kWelcomeHintTimer);
  if (m_auto && m_combo) ::SendMessageW(m_combo, CB_SHOWDROPDOWN, TRUE, 0);
  return 0;
}

LRESULT CWelcomeDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  if (!m_hint || ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_WELCOME_LANG_LABEL) {
    bHandled = FALSE;
    return 0;
  }
  HDC dc = reinterpret_cast<HDC>(wParam);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 0, 0));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CWelcomeDlg::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  ReleaseCapture();
  SendMessage(WM_SYSCOMMAND, kMoveByCaption, 0);
  return 0;
}

LRESULT CWelcomeDlg::OnBringToFront(UINT, WPARAM, LPARAM, BOOL&) {
  if (IsIconic()) ::FlashWindow(m_hWnd, TRUE);
  HWND foreground = GetForegroundWindow();
  const DWORD own = GetCurrentThreadId();
  const DWORD other = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
  const bool attached = other && other != own && AttachThreadInput(own, other, TRUE);
  ShowWindow(SW_RESTORE);
  ::SetActiveWindow(m_hWnd);
  ::SetForegroundWindow(m_hWnd);
  ::SetFocus(m_hWnd);
  if (attached) AttachThreadInput(own, other, FALSE);
  return 0;
}

LRESULT CWelcomeDlg::OnHintDone(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == 0) {
    m_hint = false;
    if (HWND label = GetDlgItem(IDC_WELCOME_LANG_LABEL))
      ::RedrawWindow(label, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  }
  return 0;
}

LRESULT CWelcomeDlg::OnLanguageChosen(WORD, WORD, HWND, BOOL&) {
  const LRESULT index = ::SendMessageW(m_combo, CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<size_t>(index) >= m_languages.size()) return 0;
  const std::wstring chosen = m_languages[static_cast<size_t>(index)];
  if (EqualNoCase(chosen, GetWelcomeStoredLanguage())) return 0;
  if (!WriteLanguage(chosen, GetSettingsIniPath())) return 0;
  if (HANDLE changed = OpenEventW(EVENT_MODIFY_STATE, FALSE, GetLangUIChangedEventName().c_str())) {
    SetEvent(changed);
    ResetEvent(changed);
    CloseHandle(changed);
  }
  const std::wstring path = GetWelcomeLanguagePath(chosen);
  SetCurrentLanguage(path);
  SetLngStringFile(path, kLngSuffixWelcome);
  ApplyLanguage(false);
  LoadWelcomePage();
  return 0;
}

LRESULT CWelcomeDlg::OnCloseCommand(WORD, WORD id, HWND, BOOL&) {
  if (CAppModule* module = CAppModule::Current()) {
    if (CMessageLoop* loop = module->GetMessageLoop()) {
      loop->RemoveMessageFilter(this);
      loop->RemoveIdleHandler(this);
    }
  }
  DestroyWindow();
  PostQuitMessage(id);
  return 0;
}

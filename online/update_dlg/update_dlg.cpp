#include "online/update_dlg/update_dlg.h"

#include "online/update_dlg/html_view_api.h"

#include <cwchar>
#include <string>

#include "foundation/localization/localized_strings.h"
#include "foundation/system/shell_open.h"
#include "foundation/system/sounds.h"
#include "foundation/text/convert.h"
#include "online/update_events.h"
#include "online/update_page/update_page.h"
#include "online/update_page/update_page_ids.h"
#include "online/web_links.h"
#include "settings/settings.h"

namespace {

constexpr UINT_PTR kBlinkTimer = 1267;
constexpr LONG kBlinkTicks = 3;
constexpr WPARAM kDragCommand = 0xF012;  // SC_MOVE by the caption

HWND g_openDialog = nullptr;

// Called only while the view exists, which needs the library.
const HtmlViewApi& Api() { return *GetHtmlViewApi(); }

std::wstring Text(UINT id) {
  CLngString text;
  text.LoadString(id);
  return text.Text();
}

bool StartsNoCase(const std::wstring& text, const wchar_t* prefix) {
  const size_t n = wcslen(prefix);
  return text.size() >= n && _wcsnicmp(text.c_str(), prefix, n) == 0;
}

// The page comes partly from the network: only web and mail addresses go
// to the shell.
bool IsWebOrMailLink(const std::wstring& href) {
  return StartsNoCase(href, L"http://") || StartsNoCase(href, L"https://") || StartsNoCase(href, L"mailto:");
}

// An element of the view found by its id, held until the object goes.
class FoundElement {
 public:
  FoundElement(HWND view, const wchar_t* id) {
    HELEMENT root = nullptr;
    if (!view) return;
    if (Api().GetRootElement(view, &root) != HLDOM_OK || !root) return;
    Api().UseElement(root);
    Api().VisitElements(root, nullptr, "id", id, &FoundElement::Take, this, 0);
    Api().UnuseElement(root);
  }
  ~FoundElement() {
    if (m_he) Api().UnuseElement(m_he);
  }
  FoundElement(const FoundElement&) = delete;
  FoundElement& operator=(const FoundElement&) = delete;
  HELEMENT Get() const { return m_he; }
  explicit operator bool() const { return m_he != nullptr; }
  UINT State() const {
    UINT state = 0;
    return Api().GetElementState(m_he, &state) == HLDOM_OK ? state : 0;
  }

 private:
  static BOOL CALLBACK Take(HELEMENT he, LPVOID param) {
    auto* self = static_cast<FoundElement*>(param);
    if (Api().UseElement(he) == HLDOM_OK) self->m_he = he;
    return TRUE;
  }
  HELEMENT m_he = nullptr;
};

// The control's value as a whole number; false when it holds none.
// Texts are read as far as they are digits, bounded to +-1000.
bool ReadControlNumber(HELEMENT he, int& number) {
  VALUE value;
  Api().ValueInit(&value);
  if (Api().ControlGetValue(he, &value) != HLDOM_OK) return false;
  bool ok = false;
  if (value.t == T_INT) {
    number = static_cast<int>(static_cast<UINT>(value.d));
    ok = true;
  } else if (value.t == T_STRING && value.d) {
    const auto* text = reinterpret_cast<const wchar_t*>(static_cast<UINT_PTR>(value.d));
    wchar_t* end = nullptr;
    long n = wcstol(text, &end, 10);
    ok = end != text;
    number = n < -1000 ? -1000 : n > 1000 ? 1000 : static_cast<int>(n);
  }
  Api().ValueClear(&value);
  return ok;
}

}  // namespace

HWND GetUpdateDlgWindow() { return g_openDialog && ::IsWindow(g_openDialog) ? g_openDialog : nullptr; }

LRESULT CQLRUpdateDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
  g_openDialog = m_hWnd;
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) | WS_EX_APPWINDOW);
  auto icon = [](int cx, int cy) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON,
                                         GetSystemMetrics(cx), GetSystemMetrics(cy), LR_SHARED));
  };
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon(SM_CXICON, SM_CYICON)));
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon(SM_CXSMICON, SM_CYSMICON)));
  CenterWindow(::GetDesktopWindow());

  SetWindowText((L"Quillora : " + Text(IDS_UPD_CAPTION)).c_str());
  ::SetDlgItemTextW(m_hWnd, IDCANCEL, Text(IDS_UPD_CLOSE).c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_UPDATE_VISIT, Text(IDS_UPD_VISIT_US).c_str());
  ::SetDlgItemTextW(m_hWnd, IDC_UPDATE_SKIP, Text(IDS_UPD_SKIP_VERSION).c_str());
  // A record without an offered version (a failed check) has nothing to skip.
  ::EnableWindow(GetDlgItem(IDC_UPDATE_SKIP), m_record && !m_record->offeredVersion.empty());

  CreateView();
  if (m_view && m_record) {
    Api().AttachEventHandler(m_view, &HLEventHandler::ElementProc, static_cast<HLEventHandler*>(this),
                                      HANDLE_ALL);
    const std::string page = WideToUtf8(BuildUpdatePage(*m_record));
    if (Api().LoadHtml(m_view, reinterpret_cast<HL_LPCBYTE>(page.data()), static_cast<UINT>(page.size())))
      UpdateSettingsWidgets();
    ::ShowWindow(m_view, SW_SHOW);
  }
  if (GetSettings().soundOnEvents) PlayNotificationSound(true);
  PostMessage(WM_APP + 1, 0, 0);
  return TRUE;
}

void CQLRUpdateDlg::CreateView() {
  HWND place = GetDlgItem(IDC_UPDATE_VIEW_PLACE);
  if (!place || !GetHtmlViewApi()) return;
  RECT rect = {};
  ::GetWindowRect(place, &rect);
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  ::ScreenToClient(m_hWnd, &corners[0]);
  ::ScreenToClient(m_hWnd, &corners[1]);
  ::DestroyWindow(place);
  m_view = ::CreateWindowExW(WS_EX_CLIENTEDGE, Api().ClassName(), L"", WS_CHILD | WS_TABSTOP, corners[0].x,
                             corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y, m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_UPDATE_VIEW_PLACE)),
                             GetModuleHandleW(nullptr), nullptr);
}

LRESULT CQLRUpdateDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL&) {
  KillTimer(kBlinkTimer);
  SaveUpdateSettings();
  g_openDialog = nullptr;
  return 0;
}

LRESULT CQLRUpdateDlg::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  SendMessage(WM_SYSCOMMAND, kDragCommand, 0);
  return 0;
}

LRESULT CQLRUpdateDlg::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  if (wParam != kBlinkTimer) {
    handled = FALSE;
    return 0;
  }
  FoundElement box(m_view, kAutoCheckElementId);
  if (!box || ++m_blinkCount >= kBlinkTicks) KillTimer(kBlinkTimer);
  if (box) Api().SetAttributeByName(box.Get(), "hidden", m_blinkCount % 2 ? L"true" : L"false");
  return 0;
}

LRESULT CQLRUpdateDlg::OnResetBlink(UINT, WPARAM, LPARAM, BOOL&) {
  m_blinkCount = 0;
  return 0;
}

LRESULT CQLRUpdateDlg::OnClose(WORD, WORD, HWND, BOOL&) {
  EndDialog(0);
  return 0;
}

LRESULT CQLRUpdateDlg::OnVisit(WORD, WORD, HWND, BOOL&) {
  OpenURL(m_hWnd, GetHomePageURL());
  return 0;
}

LRESULT CQLRUpdateDlg::OnSkipVersion(WORD, WORD, HWND, BOOL&) {
  if (!m_record || m_record->offeredVersion.empty()) {
    MessageBeep(0xFFFFFFFF);
    return 0;
  }
  const std::wstring version = CVersionNumber::ToString(m_record->offeredVersion);
  const std::wstring text = Text(IDS_UPD_SKIP_QUESTION) + L"\nQuillora " + version;
  if (MessageBoxW(m_hWnd, text.c_str(), L"Quillora", MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2) != IDOK)
    return 0;
  if (!CQLRSettings::SaveSkippedVersions(m_record->offeredVersion)) MessageBeep(0xFFFFFFFF);
  return 0;
}

void CQLRUpdateDlg::UpdateSettingsWidgets() {
  FoundElement box(m_view, kAutoCheckElementId);
  if (!box) return;
  const bool checked = (box.State() & STATE_CHECKED) != 0;
  Api().SetStyleAttribute(box.Get(), nullptr, nullptr);
  Api().SetStyleAttribute(box.Get(), "color", checked ? L"green" : L"red");
  FoundElement days(m_view, kDaysNumberElementId);
  if (!days) return;
  Api().SetElementState(days.Get(), checked ? 0 : STATE_DISABLED, checked ? STATE_DISABLED : 0, TRUE);
  FoundElement label(m_view, kDaysTextElementId);
  if (!label) return;
  if (checked) {
    Api().SetStyleAttribute(label.Get(), nullptr, nullptr);
  } else {
    Api().SetStyleAttribute(label.Get(), "color", L"gray");
    Api().SetStyleAttribute(label.Get(), "text-decoration", L"line-through");
  }
}

void CQLRUpdateDlg::SaveUpdateSettings() {
  if (!m_view) return;
  FoundElement box(m_view, kAutoCheckElementId);
  if (!box) return;
  CQLRTraySettings& settings = GetSettings();
  settings.autoCheckForUpdates = (box.State() & STATE_CHECKED) ? 1 : 0;
  FoundElement days(m_view, kDaysNumberElementId);
  if (!days) return;
  int number = 0;
  if (ReadControlNumber(days.Get(), number))
    settings.SetDaysCheckForUpdates(number < 1 ? 1 : number > 30 ? 30 : number);
  settings.Save();
  // An open editor's page would save its old values back otherwise.
  PulseOptionsChanged();
}

bool CQLRUpdateDlg::OnHyperlink(HELEMENT link) {
  LPCWSTR value = nullptr;
  if (!link || !m_view || Api().GetAttributeByName(link, "href", &value) != HLDOM_OK || !value || !*value) return false;
  const std::wstring href = value;
  if (href[0] == L'#') return false;  // the view scrolls to the anchor
  if (IsWebOrMailLink(href)) ShellOpen(m_hWnd, L"open", href.c_str(), nullptr, nullptr, SW_SHOW);
  return true;
}

bool CQLRUpdateDlg::HandleMouse(HELEMENT, MOUSE_PARAMS& params) {
  if (params.cmd != MOUSE_DOWN || !(params.button_state & MAIN_MOUSE_BUTTON) || !params.target || !m_view)
    return false;
  UINT type = CTL_NO;
  if (Api().ControlGetType(params.target, &type) != HLDOM_OK || type != CTL_NO) return false;
  SendMessage(WM_SYSCOMMAND, kDragCommand, 0);
  return true;
}

bool CQLRUpdateDlg::HandleBehaviorEvent(HELEMENT, BEHAVIOR_EVENT_PARAMS& params) {
  if (params.cmd == BUTTON_STATE_CHANGED) {
    UpdateSettingsWidgets();
    return false;
  }
  if (params.cmd == (HYPERLINK_CLICK | SINKING)) return OnHyperlink(params.heTarget);
  return false;
}

#include "editor/doc/doc.h"

#include <algorithm>

#include "editor/app/editor_access.h"
#include "editor/coop/settings_area_reader.h"
#include "editor/doc/folder_view.h"
#include "editor/doc/phrase_view.h"
#include "editor/editor_names.h"
#include "editor/frame/write_failure_notice.h"
#include "editor/store/command.h"
#include "editor/store/command_folder.h"
#include "editor/store/command_names.h"
#include "editor_settings/editor_settings.h"
#include "editor_settings/editor_settings_names.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "foundation/logging/log.h"
#include "phrases/store/phrase_writer.h"
#include "foundation/text/text_basics.h"
#include "platform/mfc/doc/view.h"
#include "platform/mfc/frame/frame_wnd.h"
#include "platform/mfc/window/wnd.h"

IMPLEMENT_DYNCREATE(CDoc, CDocument)

namespace {
constexpr wchar_t kNoSelectedText[] = L"Selected text for new phrase not found";
constexpr int kSelectedTitleChars = 30;

// The folder list kept hidden beside the phrase view, or null.
CFolderView* KeptFolderList(CWnd* parent) {
  HWND kept = ::GetDlgItem(parent->m_hWnd, AFX_IDW_PANE_LAST);
  CWnd* object = kept ? CWnd::FromHandlePermanent(kept) : nullptr;
  return object && object->IsKindOf(RUNTIME_CLASS(CFolderView)) ? static_cast<CFolderView*>(object) : nullptr;
}
}  // namespace

CQLRCommand* CDoc::CurrentRecord() {
  if (m_nCurrentId == -1) return nullptr;
  return GetCommandStore().FindCommandById(static_cast<std::uint32_t>(m_nCurrentId));
}

void CDoc::UpdateViews(CView* pSender, LPARAM lHint, LPARAM value) {
  if (lHint == kHintSelect) {
    if (m_nCurrentId != -1) UpdateViews(pSender, kHintCommit, m_nCurrentId);
    m_nCurrentId = static_cast<int>(value);
    CQLRCommand* record = CurrentRecord();
    SwitchView(!record || record->IsFolder() ? kFolderListView : kPhraseTextView);
    record = CurrentRecord();
    std::wstring path = record ? record->GetFilePath() : std::wstring();
    SendFrameNotify(reinterpret_cast<LPARAM>(path.c_str()));
    if (record) RememberPath(path);
  } else if (lHint == kHintPathChanged) {
    if (CQLRCommand* record = CurrentRecord()) RememberPath(record->GetFilePath());
  }
  UpdateAllViews(pSender, lHint, reinterpret_cast<CObject*>(value));
  HWND sender = pSender ? pSender->GetSafeHwnd() : nullptr;
  // A listener may register another while it is told: walk a copy.
  const std::vector<IDocUpdateListener*> listeners = m_listeners;
  for (IDocUpdateListener* listener : listeners) {
    HWND window = listener->GetListenerHwnd();
    // A listener's window that is gone (the frame's teardown) hears nothing.
    if (!window || !::IsWindow(window)) continue;
    if (sender && window == sender) continue;
    listener->OnDocUpdate(pSender, lHint, value);
  }
}

void CDoc::AddListener(IDocUpdateListener* listener) {
  if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
    m_listeners.push_back(listener);
}

void CDoc::SelectRecord(int id) { UpdateViews(nullptr, kHintSelect, id); }

void CDoc::CommitCurrent(CView* pSender) { UpdateViews(pSender, kHintCommit, m_nCurrentId == -1 ? 0 : m_nCurrentId); }

int CDoc::GetViewKind() const {
  POSITION pos = GetFirstViewPosition();
  CView* view = pos ? GetNextView(pos) : nullptr;
  return view && view->IsKindOf(RUNTIME_CLASS(CFolderView)) ? kFolderListView : kPhraseTextView;
}

void CDoc::SwitchView(int kind) {
  POSITION pos = GetFirstViewPosition();
  CView* old = pos ? GetNextView(pos) : nullptr;
  if (!old || GetViewKind() == kind) return;
  CWnd* parent = old->GetParent();
  CFrameWnd* frame = old->GetParentFrame();
  if (!parent || !frame) return;
  CRect rect;
  ::GetWindowRect(old->m_hWnd, &rect);
  ::MapWindowPoints(nullptr, parent->m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
  const int id = old->GetDlgCtrlID();
  // Making a list of thousands of rows again costs far more than showing
  // the one made before: the folder list stays, hidden, while a phrase is
  // shown. It leaves the document then, so no notice, no question about
  // the document's view and no command reaches it, and it gives up the
  // pane's id, so the frame lays out and finds the phrase view alone.
  CFolderView* kept = KeptFolderList(parent);
  const bool keepOld = old->IsKindOf(RUNTIME_CLASS(CFolderView));
  if (keepOld && kept) {
    kept->DestroyWindow();
    kept = nullptr;
  }
  old->ShowWindow(SW_HIDE);
  if (keepOld) old->SetDlgCtrlID(AFX_IDW_PANE_LAST);

  CView* view = kind == kFolderListView ? kept : nullptr;
  if (view) {
    AddView(view);
    // In place first: the refill fits the columns to the pane's width.
    view->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    kept->ComeBack();
    view->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    frame->SetActiveView(view);
  } else {
    const CRuntimeClass* cls = kind == kPhraseTextView ? RUNTIME_CLASS(CQLRView) : RUNTIME_CLASS(CFolderView);
    view = static_cast<CView*>(cls->CreateObject());
    CCreateContext context;
    context.m_pNewViewClass = cls;
    context.m_pCurrentDoc = this;
    context.m_pCurrentFrame = frame;
    // The new view joins the document before the old one leaves it, so the
    // document never finds itself without views.
    if (!view->Create(nullptr, nullptr, AFX_WS_DEFAULT_VIEW, rect, parent, id, &context)) {
      LogError(L"SwitchView: the view cannot be created");
      if (keepOld) old->SetDlgCtrlID(id);
      old->ShowWindow(SW_SHOW);
      return;
    }
    view->OnInitialUpdate();
    frame->SetActiveView(view);
    view->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  RemoveView(old);
  if (!keepOld) old->DestroyWindow();
  ::SetWindowLongPtrW(view->m_hWnd, GWLP_ID, AFX_IDW_PANE_FIRST);
  frame->RecalcLayout();
}

void CDoc::RememberPath(const std::wstring& path) {
  CQLREditorSettings& settings = GetEditorSettings();
  if (path.empty() || EqualNoCase(path, settings.lastFile)) return;
  settings.lastFile = path;
  settings.SaveOwnKey(editor_settings_names::kLastFile);
}

int CDoc::ResolveByPath(const std::wstring& path) {
  if (path.empty()) return -1;
  CQLRCommand* record = GetCommandStore().FindByPath(path.c_str());
  return record ? static_cast<int>(record->GetId()) : -1;
}

void CDoc::ReloadStore() {
  // Ids are given anew in load order: the current id could name another
  // record afterwards, so the record is found again by its file.
  // A current id whose record is gone already (deleted, or in a deleted
  // group) has no file left to find: it counts as gone too.
  const bool hadCurrent = m_nCurrentId != -1;
  CQLRCommand* current = CurrentRecord();
  const std::wstring path = current ? current->GetFilePath() : std::wstring();
  CCommandFolder& store = GetCommandStore();
  store.Load(GetEditorSettings().GetPhrasesDirectoryNoSlash());
  m_nCurrentId = ResolveByPath(path);
  // The open phrase's file is gone: nothing of it stays shown, so no edit
  // can be typed into a record that no longer exists.
  if (hadCurrent && m_nCurrentId == -1) SelectRecord(-1);
  // The folder list holds the ids of the old tree: it reads the new one.
  UpdateAllViews(nullptr, kHintRebuild, nullptr);
}

void CDoc::SelectStartRecord() {
  CCommandFolder& store = GetCommandStore();
  if (store.Commands().empty()) return;
  CQLREditorSettings& settings = GetEditorSettings();
  CQLRCommand* last = settings.lastFile.empty() ? nullptr : store.FindByPath(settings.lastFile.c_str());
  if (last && (settings.ShowUncheckedPhrases || last->IsEnabled())) {
    SelectRecord(static_cast<int>(last->GetId()));
  } else if (last) {
    SelectRecord(static_cast<int>(store.Commands().front().GetId()));
  } else {
    SwitchView(kFolderListView);
  }
}

void CDoc::AddFrameListener() {
  if (m_bFrameListenerAdded) return;
  if (IDocUpdateListener* frame = GetMainFrameListener()) {
    AddListener(frame);
    m_bFrameListenerAdded = TRUE;
  }
}

BOOL CDoc::OnNewDocument() {
  if (!CDocument::OnNewDocument()) return FALSE;
  AddFrameListener();
  SelectStartRecord();
  return TRUE;
}

BOOL CDoc::OnOpenDocument(LPCWSTR lpszPathName) {
  if (!CDocument::OnOpenDocument(lpszPathName)) return FALSE;
  AddFrameListener();
  return TRUE;
}

BOOL CDoc::IsModified() {
  POSITION pos = GetFirstViewPosition();
  CView* view = pos ? GetNextView(pos) : nullptr;
  return view && view->IsKindOf(RUNTIME_CLASS(CQLRView)) && static_cast<CQLRView*>(view)->IsTextModified();
}

void CDoc::SetModifiedFlag(BOOL) { CDocument::SetModifiedFlag(FALSE); }

bool CDoc::SaveCurrent() {
  if (!IsModified() || m_nCurrentId == -1) return true;
  // The view writes the text into the record and queues its file; it
  // stays modified when that could not be done.
  CommitCurrent(nullptr);
  if (!CurrentRecord() || IsModified()) return false;
  // The file is written on its own thread: the answer waits for it, and a
  // write that failed marks the text modified again when its notice is
  // taken (now, not after the window has gone with the text).
  WaitForPhraseWrites(editor_names::kPhraseWritesWaitMs);
  if (HWND frame = GetMainFrameHwnd()) ::SendMessageW(frame, kPhraseWriteFailedMessage, 0, 0);
  return CurrentRecord() && !IsModified();
}

std::wstring CDoc::UnsavedText() {
  CQLRCommand* record = CurrentRecord();
  std::wstring text = L"The changes of the phrase being edited cannot be saved";
  text += record && !record->GetFilePath().empty() ? L":\n" + record->GetFilePath() : std::wstring(L".");
  return text;
}

BOOL CDoc::SaveModified() {
  if (SaveCurrent()) return TRUE;
  // The window never just stays open: the user hears why and decides.
  const std::wstring text = UnsavedText() + L"\n\nClose without them?";
  return ::MessageBoxW(GetMainFrameHwnd(), text.c_str(), editor_names::kBoxCaption, MB_YESNO | MB_ICONWARNING) ==
         IDYES;
}

void CDoc::AddPhraseFromSelectedText() {
  std::wstring text = GetSelectedTextFromArea();
  if (TrimChars(text, L" \t\r\n").empty()) {
    ::MessageBoxW(GetMainFrameHwnd(), kNoSelectedText, editor_names::kBoxCaption,
                  MB_ICONERROR);
    return;
  }
  std::wstring title = NormalizeTitle(text, kSelectedTitleChars);
  std::uint32_t id = GetCommandStore().AddCommand(title, text, 0, kRootId);
  if (id == static_cast<std::uint32_t>(-1)) {
    LogError(L"AddPhraseFromSelectedText: the phrase cannot be added");
    return;
  }
  UpdateViews(nullptr, kHintRebuild, 0);
  SelectRecord(static_cast<int>(id));
  GetCommandStore().SaveCommand(id);
  StampPhraseChange();
}

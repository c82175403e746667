#include "editor_settings/helpers/browse_folder.h"

#include <objbase.h>
#include <shlobj.h>

namespace {

struct BrowseState {
  std::wstring start;
  bool firstChange = true;
};

bool PathOf(LPARAM idList, wchar_t (&path)[MAX_PATH]) {
  return idList && ::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(idList), path);
}

int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM lParam, LPARAM data) {
  auto* state = reinterpret_cast<BrowseState*>(data);
  if (message == BFFM_INITIALIZED) {
    if (!state->start.empty())
      ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->start.c_str()));
  } else if (message == BFFM_SELCHANGED) {
    wchar_t path[MAX_PATH] = {};
    bool hasPath = PathOf(lParam, path);
    // Some browsers select their root only after they announced themselves,
    // over the start folder: the first change puts the start folder back.
    bool first = state->firstChange;
    state->firstChange = false;
    if (first && !state->start.empty() && _wcsicmp(path, state->start.c_str()) != 0) {
      ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(state->start.c_str()));
      return 0;
    }
    ::SendMessageW(dialog, BFFM_ENABLEOK, 0, hasPath ? TRUE : FALSE);
  }
  return 0;
}

}  // namespace

std::wstring BrowseForFolder(HWND parent, const std::wstring& title, const std::wstring& startFolder,
                             bool newFolderButton, bool editBox) {
  HRESULT ole = ::OleInitialize(nullptr);
  BrowseState state;
  state.start = startFolder;
  // "C:\" stays: without its backslash a drive names its current folder.
  if (state.start.size() > 3 && state.start.back() == L'\\') state.start.pop_back();
  BROWSEINFOW info = {};
  info.hwndOwner = parent;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  if (!newFolderButton) info.ulFlags |= BIF_NONEWFOLDERBUTTON;
  if (editBox) info.ulFlags |= BIF_EDITBOX;
  info.lpfn = BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&state);
  std::wstring result;
  if (PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info)) {
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(list, path)) result = path;
    ::CoTaskMemFree(list);
  }
  if (SUCCEEDED(ole)) ::OleUninitialize();
  return result;
}

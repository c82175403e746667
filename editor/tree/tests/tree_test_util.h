// Helpers of the phrase tree tests: a phrase store built in memory and a
// parent window that records what the tree tells it.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/store/command_folder.h"
#include "editor/tree/phrase_tree_ctrl.h"
#include "editor_settings/editor_settings.h"
#include "phrases/store/phrase_node.h"
#include "platform/mfc/tests/control_host.h"
#include "tests/support/test_support.h"

namespace treetest {

inline CQLRCommand& AddPhrase(CommandList& list, std::uint32_t id, const std::wstring& title, bool enabled = true,
                              std::uint32_t sortId = 0, std::uint32_t dataType = kDataTypeText) {
  list.emplace_back();
  CQLRCommand& record = list.back();
  record.SetId(id);
  record.SetMenuName(title);
  record.m_enabled = enabled;
  record.m_sortId = sortId;
  record.DataType = dataType;
  return record;
}

inline CQLRCommand& AddFolder(CommandList& list, std::uint32_t id, const std::wstring& path,
                              std::uint32_t sortId = 0) {
  list.emplace_back();
  CQLRCommand& record = list.back();
  record.SetId(id);
  record.MakeFolder();
  record.SetFilePath(path);
  record.m_sortId = sortId;
  return record;
}

class RecordingHost : public CControlHost {
 public:
  struct Check {
    HTREEITEM item;
    UINT state;
  };
  struct Drag {
    WPARAM kind;
    TreeDropTarget target;
  };

  explicit RecordingHost(bool show = false) : CControlHost(show) {}

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == ownerMessage) {
      drags.push_back({wParam, *reinterpret_cast<TreeDropTarget*>(lParam)});
      return canDrop ? 1 : 0;
    }
    if (message == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == kTreeNotifyCheck) {
        auto* info = reinterpret_cast<NMTREEVIEWW*>(lParam);
        checks.push_back({info->itemNew.hItem, info->itemNew.state});
      } else if (header->code == TVN_GETINFOTIPW) {
        infoTips.push_back(reinterpret_cast<NMTVGETINFOTIPW*>(lParam)->hItem);
      }
    }
    return CControlHost::WindowProc(message, wParam, lParam);
  }

  UINT ownerMessage = ::RegisterWindowMessageW(L"Quillora.TreeTest.Owner");
  bool canDrop = true;
  std::vector<Check> checks;
  std::vector<HTREEITEM> infoTips;
  std::vector<Drag> drags;

  size_t CountDrags(WPARAM kind) const {
    size_t n = 0;
    for (const Drag& d : drags) n += d.kind == kind;
    return n;
  }
};

// A tree in a host, made with the given host.
inline bool MakeTree(CPhraseTreeCtrl& tree, CWnd& host, UINT id = 100) {
  return tree.Create(WS_CHILD | WS_VISIBLE, CControlHost::ChildRect(), &host, id) != FALSE;
}

inline TVITEMW ReadItem(HWND tree, HTREEITEM item) {
  TVITEMW data = {};
  data.mask = TVIF_STATE | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_HANDLE;
  data.stateMask = 0xFFFF;
  data.hItem = item;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
  return data;
}

inline std::wstring ItemText(CPhraseTreeCtrl& tree, HTREEITEM item) {
  return std::wstring(tree.GetItemText(item).GetString());
}

// The record ids of the items below parent, in order.
inline std::vector<std::uint32_t> ChildIds(CPhraseTreeCtrl& tree, HTREEITEM parent) {
  std::vector<std::uint32_t> ids;
  for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item))
    ids.push_back(tree.GetItemId(item));
  return ids;
}

inline void ShowDisabled(bool show) { GetEditorSettings().ShowUncheckedPhrases = show ? 1 : 0; }

}  // namespace treetest

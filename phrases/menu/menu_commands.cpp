#include "phrases/menu/menu_commands.h"

#include <map>

namespace {

const std::map<int, UINT>& SpecialMap() {
  static const std::map<int, UINT> map = {{-2, kCmdEditSettings}, {-4, kCmdSelectionIntoPhrase}, {-6, kCmdSupport}};
  return map;
}

}  // namespace

int GetSpecialCommandKey(UINT id) {
  for (const auto& entry : SpecialMap())
    if (entry.second == id) return entry.first;
  return 0;
}

UINT GetSpecialCommandId(int key) {
  auto it = SpecialMap().find(key);
  return it == SpecialMap().end() ? 0 : it->second;
}

bool IsSpecialCommandKey(int value) { return SpecialMap().count(value) != 0; }

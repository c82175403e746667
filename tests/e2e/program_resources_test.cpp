// Every resource a program loads by id is in the program itself: the build
// lists the ids its linked sources load (scripts/scan_resource_ids.py), and
// each is loaded here from the built file, opened as a data file, the way
// the editor's language tool reads the other programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

struct ResourceUse {
  std::string kind;
  UINT id = 0;
  std::string where;
};

std::vector<ResourceUse> ReadUses(const std::wstring& program) {
  std::vector<ResourceUse> uses;
  std::wstring base = program.substr(0, program.rfind(L'.'));
  std::ifstream in(qlrtest::ToUtf8(qlrtest::BinDir() + L"\\..\\resource_ids\\" + base + L".txt"));
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    ResourceUse use;
    fields >> use.kind >> use.id;
    std::getline(fields, use.where);
    if (!use.kind.empty()) uses.push_back(use);
  }
  return uses;
}

bool HasString(HMODULE module, UINT id) {
  const wchar_t* text = nullptr;
  return LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0) > 0;
}

bool HasResource(HMODULE module, UINT id, const wchar_t* type) {
  return FindResourceW(module, MAKEINTRESOURCEW(id), type) != nullptr;
}

bool Loads(HMODULE module, const std::string& kind, UINT id) {
  if (kind == "string") return HasString(module, id);
  if (kind == "icon") {
    HANDLE icon = LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0);
    if (icon) DestroyIcon(static_cast<HICON>(icon));
    return icon != nullptr;
  }
  if (kind == "bitmap") {
    HANDLE bitmap = LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0);
    if (bitmap) DeleteObject(bitmap);
    return bitmap != nullptr;
  }
  if (kind == "cursor") return HasResource(module, id, RT_GROUP_CURSOR);
  if (kind == "menu") {
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(id));
    if (menu) DestroyMenu(menu);
    return menu != nullptr;
  }
  if (kind == "accelerator") return HasResource(module, id, RT_ACCELERATOR);
  if (kind == "dialog") return HasResource(module, id, RT_DIALOG);
  if (kind == "html") return HasResource(module, id, MAKEINTRESOURCEW(23));
  if (kind == "any") {
    const wchar_t* types[] = {RT_MENU, RT_GROUP_ICON, RT_ACCELERATOR, RT_DIALOG, RT_BITMAP, MAKEINTRESOURCEW(23)};
    for (const wchar_t* type : types)
      if (HasResource(module, id, type)) return true;
    return HasString(module, id);
  }
  ADD_FAILURE() << "unknown kind " << kind;
  return false;
}

BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name))
    reinterpret_cast<std::vector<UINT>*>(param)->push_back(static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
  return TRUE;
}

// Commands of a menu and its pop-ups.
void CollectCommands(HMENU menu, std::vector<UINT>* ids) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      CollectCommands(sub, ids);
      continue;
    }
    UINT id = GetMenuItemID(menu, i);
    if (id != 0 && id != static_cast<UINT>(-1)) ids->push_back(id);
  }
}

struct ProgramCase {
  const wchar_t* file;
  size_t minimumUses;  // a scan that finds fewer has gone blind
  // Every command of every menu shows a tip and a status-bar prompt from
  // the string of its id, so each has one. (The tray program's menus show
  // tips of their own making.)
  bool menuPrompts;
};

TEST(ProgramResourcesTest, EveryLoadedIdIsInTheProgram) {
  const ProgramCase programs[] = {
      {L"Quillora.exe", 60, false},
      {L"QuilloraEditor.exe", 60, true},
      {L"Quillora_Welcome.exe", 3, false},
  };
  for (const ProgramCase& program : programs) {
    SCOPED_TRACE(qlrtest::ToUtf8(program.file));
    std::vector<ResourceUse> uses = ReadUses(program.file);
    EXPECT_GE(uses.size(), program.minimumUses);
    HMODULE module = LoadLibraryExW(qlrtest::BinFile(program.file).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << GetLastError();
    for (const ResourceUse& use : uses)
      EXPECT_TRUE(Loads(module, use.kind, use.id)) << use.kind << " " << use.id << " used at" << use.where;

    if (program.menuPrompts) {
      std::vector<UINT> menus;
      EnumResourceNamesW(module, RT_MENU, CollectName, reinterpret_cast<LONG_PTR>(&menus));
      for (UINT menuId : menus) {
        HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(menuId));
        ASSERT_NE(menu, nullptr);
        std::vector<UINT> commands;
        CollectCommands(menu, &commands);
        DestroyMenu(menu);
        for (UINT command : commands)
          EXPECT_TRUE(HasString(module, command)) << "prompt of command " << command << " in menu " << menuId;
      }
    }
    FreeLibrary(module);
  }
}

}  // namespace

// The built Gesture.dll as a file: what the loader and other programs see of
// it without running it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "gesture/shared_state.h"
#include "tests/support/test_support.h"

namespace {

// The parts of a PE file these tests look at, read from its bytes.
struct PeFacts {
  std::string problem = "not read";  // empty once the whole file was understood
  WORD machine = 0;
  std::string dllName;
  std::map<std::string, DWORD> exports;  // name -> ordinal
  DWORD sharedFlags = 0;                 // characteristics of ".LRH"
  DWORD sharedSize = 0;
  bool sharedFound = false;
};

class PeReader {
 public:
  explicit PeReader(std::string bytes) : m_bytes(std::move(bytes)) {}

  PeFacts Read() {
    PeFacts facts;
    auto* dos = At<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return Fail(&facts, "no DOS header");
    auto* nt = At<IMAGE_NT_HEADERS32>(dos->e_lfanew);
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE) return Fail(&facts, "no PE header");
    facts.machine = nt->FileHeader.Machine;
    IMAGE_DATA_DIRECTORY exportDir;
    if (nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
      auto* nt64 = At<IMAGE_NT_HEADERS64>(dos->e_lfanew);
      if (!nt64) return Fail(&facts, "short PE32+ header");
      exportDir = nt64->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    } else {
      exportDir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    }
    size_t sectionsAt = dos->e_lfanew + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                        nt->FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
      auto* s = At<IMAGE_SECTION_HEADER>(sectionsAt + i * sizeof(IMAGE_SECTION_HEADER));
      if (!s) return Fail(&facts, "short section table");
      m_sections.push_back(*s);
      if (std::memcmp(s->Name, ".LRH\0\0\0\0", 8) == 0) {
        facts.sharedFound = true;
        facts.sharedFlags = s->Characteristics;
        facts.sharedSize = s->Misc.VirtualSize;
      }
    }
    auto* exp = At<IMAGE_EXPORT_DIRECTORY>(FileOffset(exportDir.VirtualAddress));
    if (!exp) return Fail(&facts, "no export directory");
    facts.dllName = Text(exp->Name);
    for (DWORD i = 0; i < exp->NumberOfNames; ++i) {
      auto* nameRva = At<DWORD>(FileOffset(exp->AddressOfNames) + i * 4);
      auto* index = At<WORD>(FileOffset(exp->AddressOfNameOrdinals) + i * 2);
      if (!nameRva || !index) return Fail(&facts, "export names outside the file");
      facts.exports[Text(*nameRva)] = exp->Base + *index;
    }
    if (exp->NumberOfFunctions != exp->NumberOfNames) return Fail(&facts, "exports without names");
    facts.problem.clear();
    return facts;
  }

 private:
  static PeFacts Fail(PeFacts* facts, const char* problem) {
    facts->problem = problem;
    return *facts;
  }
  template <typename T>
  const T* At(size_t offset) const {
    if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T)) return nullptr;
    return reinterpret_cast<const T*>(m_bytes.data() + offset);
  }
  // SIZE_MAX for an address in no section's file data.
  size_t FileOffset(DWORD rva) const {
    for (const IMAGE_SECTION_HEADER& s : m_sections) {
      if (rva >= s.VirtualAddress && rva - s.VirtualAddress < s.SizeOfRawData)
        return rva - s.VirtualAddress + s.PointerToRawData;
    }
    return SIZE_MAX;
  }
  std::string Text(DWORD rva) const {
    size_t at = FileOffset(rva);
    if (at >= m_bytes.size()) return std::string();
    return std::string(m_bytes.c_str() + at, strnlen(m_bytes.c_str() + at, m_bytes.size() - at));
  }

  std::string m_bytes;
  std::vector<IMAGE_SECTION_HEADER> m_sections;
};

std::wstring X86Library() { return qlrtest::BinDir() + L"\\..\\..\\x86\\bin\\Gesture.dll"; }

bool X86BuildSkipped() { return GetEnvironmentVariableW(L"QLR_SKIP_X86", nullptr, 0) != 0; }

TEST(GestureLibraryFileTest, ExportsAndSharedSectionInBothBuilds) {
  struct Build {
    std::wstring path;
    WORD machine;
    bool checked;
  } builds[] = {
      {qlrtest::BinFile(L"Gesture.dll"), IMAGE_FILE_MACHINE_AMD64, true},
      {X86Library(), IMAGE_FILE_MACHINE_I386, !X86BuildSkipped()},
  };
  const std::map<std::string, DWORD> expected = {{"Gesture_GetGesturePoint", 1},
                                                 {"Gesture_Install", 2},
                                                 {"Gesture_IsInstalled", 3},
                                                 {"Gesture_Uninstall", 4}};
  for (const Build& b : builds) {
    // A run of the 64-bit build alone may find an old 32-bit file.
    if (!b.checked) {
      std::printf("32-bit build skipped, only the 64-bit library checked\n");
      continue;
    }
    std::string bytes = qlrtest::ReadBytes(b.path);
    SCOPED_TRACE(testing::Message() << "machine " << b.machine);
    PeFacts facts = PeReader(bytes).Read();
    ASSERT_EQ(facts.problem, "");
    EXPECT_EQ(facts.machine, b.machine);
    EXPECT_EQ(facts.dllName, "Gesture.dll");
    EXPECT_EQ(facts.exports, expected);
    ASSERT_TRUE(facts.sharedFound);
    const DWORD rws = IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_SHARED;
    EXPECT_EQ(facts.sharedFlags & (rws | IMAGE_SCN_MEM_EXECUTE), rws);
    EXPECT_GE(facts.sharedSize,
              b.machine == IMAGE_FILE_MACHINE_AMD64 ? 40u : 36u);  // the whole shared block
  }
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &size) ||
      size < sizeof(Translation))
    return L"?";
  wchar_t key[128];
  swprintf(key, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
           translation->codePage, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), key, reinterpret_cast<void**>(&value), &size)) return L"?";
  return value;
}

TEST(GestureLibraryFileTest, VersionResourceIsTheLibrarysOwn) {
  std::wstring path = qlrtest::BinFile(L"Gesture.dll");
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"FileDescription", L"Quillora Gesture Module"},
      {L"InternalName", L"Gesture"},
      {L"OriginalFilename", L"Gesture.dll"},
      {L"FileVersion", L"1.0.0.24"},
      {L"ProductVersion", L"1.0.0.24"},
      {L"SpecialBuild", L"Created for Quillora v. 2.60 or higher"},
      {L"CompanyName", L"Tessaly Software"},
  };
  for (const auto& s : strings) EXPECT_EQ(VersionString(block, s.first), s.second) << s.first;

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00000018u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00000018u);
  EXPECT_TRUE(fixed->dwFileFlags & VS_FF_SPECIALBUILD);
}

}  // namespace

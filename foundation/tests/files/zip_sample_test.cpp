// Writes archives with their source files and a manifest into
// <build>/zip_sample, where a native zip reader checks them afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/files/zip_writer.h"
#include "foundation/tests/pipe_capture.h"
#include "tests/support/test_support.h"

namespace {

std::wstring SampleDir() { return qlrtest::BinDir() + L"\\..\\zip_sample"; }

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) out += {digits[c >> 4], digits[c & 15]};
  return out;
}

// Entry name bytes and UTF-8 flag: ASCII names as they are, every other
// name in UTF-8.
std::string NameColumns(const std::wstring& name) {
  for (wchar_t c : name)
    if (c > 0x7F) return "1\t" + Hex(qlrtest::ToUtf8(name));
  return "0\t" + Hex(qlrtest::ToUtf8(name));
}

class Sample {
 public:
  explicit Sample(std::string manifestName) : m_archive(std::move(manifestName)) {}
  // One entry: its name in the archive and its source file under src/
  // (empty for a folder entry).
  void Expect(const std::wstring& entry, const std::wstring& source) {
    m_lines += m_archive + "\t" + NameColumns(entry) + "\t" + qlrtest::ToUtf8(source) + "\n";
  }
  const std::string& Lines() const { return m_lines; }

 private:
  std::string m_archive;
  std::string m_lines;
};

std::string Pseudorandom(size_t size) {
  std::string data(size, '\0');
  unsigned seed = 7;
  for (char& c : data) {
    seed = seed * 214013 + 2531011;
    c = static_cast<char>(seed >> 16);
  }
  return data;
}

TEST(ZipSampleTest, WritesArchivesForTheNativeCheck) {
  const std::wstring dir = SampleDir();
  const std::wstring src = dir + L"\\src";
  CreateDirectoryW(dir.c_str(), nullptr);
  CreateDirectoryW(src.c_str(), nullptr);

  const std::wstring cyrillic = L"\u0424\u0440\u0430\u0437\u044b.txt";
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "Line " + std::to_string(i) + " of the phrase backup\r\n";
  const struct {
    std::wstring name;
    std::string bytes;
  } files[] = {
      {L"empty.txt", ""},
      {L"notes.txt", text},
      {cyrillic, "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82"},
      // Letters the ANSI code page holds too.
      {L"caf\u00e9 na\u00efve.txt", "accented"},
      {L"Caf\u00e9.quillora", "<phrase/>"},
      {L"noise.bin", Pseudorandom(70000)},
      {L"packed.gz", Pseudorandom(5000)},
      {L"README", "no extension"},
  };
  std::vector<std::wstring> paths;
  Sample fileList("files.zip");
  for (const auto& f : files) {
    ASSERT_TRUE(qlrtest::WriteBytes(src + L"\\" + f.name, f.bytes));
    paths.push_back(src + L"\\" + f.name);
    fileList.Expect(f.name, f.name);
  }
  ASSERT_TRUE(ZipFileList(paths, dir + L"\\files.zip"));

  // The same files through a pipe (data descriptors), with folder entries.
  PipeCapture pipe;
  Sample streamed("streamed.zip");
  ZipHandle* zip = ZipCreateHandle(pipe.WriteEnd(), nullptr);
  ASSERT_NE(zip, nullptr);
  const std::wstring folder = L"\u041f\u0430\u043f\u043a\u0430";
  EXPECT_EQ(ZipAddFolder(zip, folder.c_str()), kZipOk);
  streamed.Expect(folder + L"/", L"");
  for (const auto& f : files) {
    std::wstring entry = folder + L"\\" + f.name;
    EXPECT_EQ(ZipAddFile(zip, entry.c_str(), (src + L"\\" + f.name).c_str()), kZipOk);
    streamed.Expect(folder + L"/" + f.name, f.name);
  }
  EXPECT_EQ(ZipAddMemory(zip, L"memory.txt", text.data(), static_cast<DWORD>(text.size())), kZipOk);
  streamed.Expect(L"memory.txt", L"notes.txt");
  EXPECT_EQ(CloseZip(zip), kZipOk);
  ASSERT_TRUE(qlrtest::WriteBytes(dir + L"\\streamed.zip", pipe.Finish()));

  ASSERT_TRUE(qlrtest::WriteBytes(dir + L"\\manifest.txt", fileList.Lines() + streamed.Lines()));
}

}  // namespace

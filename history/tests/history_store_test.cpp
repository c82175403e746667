#include "history/store/history_store.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "history/store/history_descriptor.h"
#include "history/store/history_queue.h"
#include "history/store/save_load_lock.h"
#include "history/tests/history_test_util.h"

using namespace histtest;

namespace {

std::wstring Profile(const std::wstring& path, const wchar_t* key) {
  wchar_t value[260] = {};
  GetPrivateProfileStringW(L"Files", key, L"<none>", value, 260, path.c_str());
  return value;
}

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD ms) {
  return SYSTEMTIME{year, month, 0, day, hour, minute, second, ms};
}

class StoreTest : public ::testing::Test {
 protected:
  std::unique_ptr<CCHItem> Saved(std::unique_ptr<CCHItem> item) {
    EXPECT_TRUE(SaveHistoryItem(folder.Path(), *item));
    return item;
  }
  void Load() {
    loaded = std::make_unique<CCHQueue>();
    LoadHistory(folder.Path(), loaded.get());
  }
  std::vector<std::wstring> LoadedTexts() const {
    std::vector<std::wstring> texts;  // newest first
    for (int i = 0; i < loaded->Count(); ++i)
      texts.push_back(loaded->GetItem(i)->Text() ? loaded->GetItem(i)->Text() : L"<not text>");
    return texts;
  }
  // A descriptor written by hand.
  void Descriptor(const std::wstring& name, const std::wstring& keys) {
    qlrtest::WriteUtf16File(folder.File(name), L"[Files]\r\n" + keys);
  }
  void UnicodeFile(const std::wstring& name, const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    qlrtest::WriteBytes(folder.File(name), bytes);
  }

  HistoryFolder folder;
  std::unique_ptr<CCHQueue> loaded;
};

using Texts = std::vector<std::wstring>;

TEST_F(StoreTest, NumbersAreTheFirstFreeOnesOfTheFolder) {
  auto first = Saved(MakeText(L"first"));
  auto second = Saved(MakeText(L"second"));
  EXPECT_EQ(first->descriptorPath, folder.File(L"quillora_cb1.info"));
  EXPECT_EQ(second->descriptorPath, folder.File(L"quillora_cb2.info"));
  EXPECT_EQ(first->dataPath, folder.File(L"Unicode_clipboard_history1.txt"));
  EXPECT_EQ(second->dataPath, folder.File(L"Unicode_clipboard_history2.txt"));
  EXPECT_EQ(first->storedState, kStoredSaved);

  ASSERT_TRUE(DeleteFileW(folder.File(L"quillora_cb1.info").c_str()));
  auto third = Saved(MakeText(L"third"));
  EXPECT_EQ(third->descriptorPath, folder.File(L"quillora_cb1.info"));
  EXPECT_EQ(third->dataPath, folder.File(L"Unicode_clipboard_history3.txt"));
}

TEST_F(StoreTest, DataFilesHoldTheBytesOfTheirKind) {
  const std::wstring unicode = L"Gr\u00fc\u00dfe";
  std::string unicodeBytes = "\xFF\xFE";
  unicodeBytes.append(reinterpret_cast<const char*>(unicode.c_str()), (unicode.size() + 1) * 2);
  struct Case {
    std::unique_ptr<CCHItem> item;
    const wchar_t* file;
    std::string bytes;
  } cases[] = {
      {MakeText(unicode), L"Unicode_clipboard_history1.txt", unicodeBytes},
      {MakeBytes(kHistoryKindAnsi, "ansi text", true), L"clipboard_history1.txt", std::string("ansi text", 10)},
      {MakeBytes(kHistoryKindRtf, "{\\rtf1 x}", true), L"clipboard_history1.rtf", std::string("{\\rtf1 x}", 10)},
      {MakeBytes(kHistoryKindHtml, "<b>x</b>", true), L"clipboard_history1.html", std::string("<b>x</b>", 9)},
      {MakeBytes(kHistoryKindBrindle, std::string("\x00\x01\x02", 3), false), L"clipboard_history1.bnd",
       std::string("\x00\x01\x02", 3)},
  };
  for (Case& c : cases) {
    ASSERT_TRUE(SaveHistoryItem(folder.Path(), *c.item)) << c.file;
    EXPECT_EQ(c.item->dataPath, folder.File(c.file));
    EXPECT_EQ(qlrtest::ReadBytes(folder.File(c.file)), c.bytes) << c.file;
  }
  // Loaded back, every kind has its data again.
  Load();
  ASSERT_EQ(loaded->Count(), 5);
  for (Case& c : cases) {
    bool found = false;
    for (int i = 0; i < loaded->Count(); ++i) {
      CCHItem* item = loaded->GetItem(i);
      if (item->kind != c.item->kind) continue;
      found = true;
      ASSERT_EQ(item->Size(), c.item->Size()) << c.file;
      EXPECT_EQ(memcmp(item->Data(), c.item->Data(), item->Size()), 0) << c.file;
      EXPECT_EQ(item->storedState, kStoredLoaded);
      EXPECT_EQ(item->dataPath, folder.File(c.file));
    }
    EXPECT_TRUE(found) << c.file;
  }
}

TEST_F(StoreTest, BitmapsAreRealBmpFilesAndLoadBackEqual) {
  auto item = Saved(MakeBitmapItem(37, 21, RGB(10, 200, 30), RGB(250, 0, 5)));
  EXPECT_EQ(item->dataPath, folder.File(L"clipboard_history1.bmp"));
  HANDLE opened = LoadImageW(nullptr, item->dataPath.c_str(), IMAGE_BITMAP, 0, 0,
                             LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  ASSERT_NE(opened, nullptr);
  BITMAP bm = {};
  GetObjectW(opened, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmWidth, 37);
  EXPECT_EQ(bm.bmHeight, 21);
  DeleteObject(opened);

  Load();
  ASSERT_EQ(loaded->Count(), 1);
  CCHItem* back = loaded->GetItem(0);
  EXPECT_EQ(back->kind, kHistoryKindBitmap);
  EXPECT_TRUE(back->ownsBitmap);
  DIBSECTION dib = {};
  EXPECT_EQ(GetObjectW(back->Bitmap(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
  EXPECT_TRUE(IsSameContent(*back, *item));
  auto other = MakeBitmapItem(37, 21, RGB(10, 200, 30), RGB(0, 0, 0));
  EXPECT_FALSE(IsSameContent(*back, *other));
}

TEST_F(StoreTest, DescriptorNamesEveryFileInOrderAndItsCaptureTime) {
  auto item = MakeBytes(kHistoryKindHtml, "<i>html</i>", true);
  item->alternates.push_back(std::shared_ptr<CCHItem>(MakeText(L"plain").release()));
  item->alternates.push_back(std::shared_ptr<CCHItem>(MakeBytes(kHistoryKindRtf, "{\\rtf1 r}", true).release()));
  item->alternates.push_back(std::shared_ptr<CCHItem>(new CCHItem(kHistoryKindAnsi)));  // nothing to write
  item->alternates.push_back(std::shared_ptr<CCHItem>(MakeBytes(kHistoryKindAnsi, "ansi", true).release()));
  item->captureTime = Time(2025, 3, 4, 5, 6, 7, 891);
  ASSERT_TRUE(SaveHistoryItem(folder.Path(), *item));

  const std::wstring d = item->descriptorPath;
  FILETIME ft;
  SystemTimeToFileTime(&item->captureTime, &ft);
  ULONGLONG ticks = (static_cast<ULONGLONG>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  struct Key {
    const wchar_t* key;
    std::wstring value;
  } keys[] = {
      {L"DataType", L"5"},
      {L"Protected", L"0"},
      {L"File0", L"clipboard_history1.html"},
      {L"File1", L"Unicode_clipboard_history1.txt"},
      {L"File2", L"clipboard_history1.rtf"},
      {L"File3", L"clipboard_history1.txt"},
      {L"File4", L"<none>"},
      {L"CaptureTime", std::to_wstring(ticks)},
  };
  for (const Key& k : keys) EXPECT_EQ(Profile(d, k.key), k.value) << k.key;
  EXPECT_EQ(item->alternates[0]->dataPath, folder.File(L"Unicode_clipboard_history1.txt"));

  Load();
  ASSERT_EQ(loaded->Count(), 1);
  CCHItem* back = loaded->GetItem(0);
  ASSERT_EQ(back->alternates.size(), 3u);
  EXPECT_EQ(back->alternates[0]->kind, kHistoryKindUnicode);
  EXPECT_EQ(back->alternates[1]->kind, kHistoryKindRtf);
  EXPECT_EQ(back->alternates[2]->kind, kHistoryKindAnsi);
  EXPECT_EQ(CompareSystemTimes(back->captureTime, item->captureTime), 0);
  EXPECT_EQ(back->captureTime.wMilliseconds, 891);
  EXPECT_EQ(back->descriptorPath, d);
}

TEST_F(StoreTest, ProtectedItemsStayProtectedAndAnEditSurvivesAReload) {
  auto item = MakeText(L"keep me");
  item->SetProtected(true);
  item->alternates.push_back(std::shared_ptr<CCHItem>(MakeBytes(kHistoryKindAnsi, "keep me", true).release()));
  ASSERT_TRUE(SaveHistoryItem(folder.Path(), *item));
  EXPECT_TRUE(IsReadOnly(item->dataPath));
  EXPECT_TRUE(IsReadOnly(item->alternates[0]->dataPath));
  EXPECT_TRUE(IsReadOnly(item->descriptorPath));
  EXPECT_EQ(Profile(item->descriptorPath, L"Protected"), L"1");

  Load();
  ASSERT_EQ(loaded->Count(), 1);
  EXPECT_TRUE(loaded->GetItem(0)->IsProtected());

  // Edited and saved again into its read-only descriptor.
  CCHItem* live = loaded->GetItem(0);
  live->MarkEdited();
  live->SetData(L"edited", 14);
  ASSERT_TRUE(SaveHistoryItem(folder.Path(), *live));
  EXPECT_TRUE(IsReadOnly(live->descriptorPath));
  Load();
  EXPECT_EQ(LoadedTexts(), Texts{L"edited"});
  EXPECT_TRUE(loaded->GetItem(0)->IsProtected());
}

TEST_F(StoreTest, EqualTextsLoadAsOneItemAndItemsComeSortedByTime) {
  struct Saving {
    const wchar_t* text;
    SYSTEMTIME time;
  } saves[] = {
      {L"middle", Time(2024, 6, 1, 12, 0, 0, 500)},
      {L"twice", Time(2024, 6, 1, 12, 0, 0, 100)},
      {L"newest", Time(2024, 6, 1, 12, 0, 0, 501)},
      {L"twice", Time(2024, 6, 1, 11, 0, 0, 0)},
      {L"oldest", Time(2023, 1, 1, 0, 0, 0, 0)},
  };
  for (const Saving& s : saves) {
    auto item = MakeText(s.text);
    item->captureTime = s.time;
    ASSERT_TRUE(SaveHistoryItem(folder.Path(), *item));
  }
  Load();
  ASSERT_EQ(loaded->Count(), 4);
  Texts texts = LoadedTexts();
  EXPECT_EQ(texts[0], L"newest");
  EXPECT_EQ(texts[1], L"middle");
  EXPECT_EQ(texts[3], L"oldest");
  EXPECT_EQ(texts[2], L"twice");
  for (int i = 0; i + 1 < loaded->Count(); ++i)
    EXPECT_GE(CompareSystemTimes(loaded->GetItem(i)->captureTime, loaded->GetItem(i + 1)->captureTime), 0);
}

TEST_F(StoreTest, TextFilesLoadByTheirNames) {
  qlrtest::WriteBytes(folder.File(L"clipboard_history7.txt"), std::string("plain\0", 6));
  Descriptor(L"quillora_cb7.info", L"DataType=0\r\nProtected=0\r\nFile0=clipboard_history7.txt\r\n");
  UnicodeFile(L"Unicode_clipboard_history8.txt", L"wide");
  Descriptor(L"quillora_cb8.info", L"DataType=1\r\nProtected=0\r\nFile0=Unicode_clipboard_history8.txt\r\n");
  Load();
  ASSERT_EQ(loaded->Count(), 2);
  for (int i = 0; i < 2; ++i) {
    CCHItem* item = loaded->GetItem(i);
    if (item->kind == kHistoryKindAnsi) {
      EXPECT_STREQ(static_cast<const char*>(item->Data()), "plain");
    } else {
      ASSERT_EQ(item->kind, kHistoryKindUnicode);
      EXPECT_STREQ(item->Text(), L"wide");  // no U+FEFF in front
      EXPECT_EQ(item->Size(), 10u);
    }
  }
}

TEST_F(StoreTest, DescriptorsNamingFilesOutsideTheFolderAreSkipped) {
  qlrtest::TempDir outer;
  SetClipboardHistoryFolderForTest(L"");
  // The history folder inside another, and a file beside it.
  std::wstring history = outer.File(L"ClipboardHistory");
  CreateDirectoryW(history.c_str(), nullptr);
  SetClipboardHistoryFolderForTest(history);
  const std::wstring outside = outer.File(L"outside.txt");
  qlrtest::WriteBytes(outside, std::string("\xFF\xFE" "o\0u\0t\0\0\0", 10));
  SetFileReadOnly(outside, true);
  qlrtest::WriteUtf16File(history + L"\\quillora_cb1.info", L"[Files]\r\nFile0=..\\outside.txt\r\n");
  qlrtest::WriteUtf16File(history + L"\\quillora_cb2.info",
                          L"[Files]\r\nFile0=Unicode_clipboard_history1.txt\r\nFile1=" + outside + L"\r\n");
  auto good = MakeText(L"good");
  ASSERT_TRUE(SaveHistoryItem(history, *good));  // its descriptor takes number 3

  CCHQueue queue;
  EXPECT_TRUE(LoadHistory(&queue));
  ASSERT_EQ(queue.Count(), 1);
  EXPECT_STREQ(queue.GetItem(0)->Text(), L"good");
  queue.Trim(0);
  EXPECT_EQ(queue.Count(), 0);
  EXPECT_TRUE(Exists(outside));
  SetFileReadOnly(outside, false);
  SetClipboardHistoryFolderForTest(folder.Path());
}

TEST_F(StoreTest, BadFilesAreSkippedWhileTheRestLoads) {
  auto good = Saved(MakeText(L"the good one"));
  UnicodeFile(L"Unicode_clipboard_history50.txt", L"x");
  UnicodeFile(L"Unicode_clipboard_history51.txt", L"y");
  qlrtest::WriteBytes(folder.File(L"empty.txt"), "");
  CreateDirectoryW(folder.File(L"folder.txt").c_str(), nullptr);
  CreateDirectoryW(folder.File(L"quillora_cb99.info").c_str(), nullptr);
  // A BMP whose header is cut, and one that claims more pixels than it has.
  auto bitmap = MakeBitmapItem(8, 8, RGB(1, 2, 3), RGB(4, 5, 6));
  ASSERT_TRUE(SaveHistoryItem(folder.Path(), *bitmap));
  std::string bmp = qlrtest::ReadBytes(bitmap->dataPath);
  DeleteFileW(bitmap->dataPath.c_str());
  DeleteFileW(bitmap->descriptorPath.c_str());
  qlrtest::WriteBytes(folder.File(L"cut.bmp"), bmp.substr(0, 30));
  std::string tall = bmp;
  tall[22] = 100;  // biHeight 8 -> 100 rows
  qlrtest::WriteBytes(folder.File(L"tall.bmp"), tall);
  std::string offset = bmp;
  offset[10] = static_cast<char>(0xF0);  // bfOffBits far into the pixels
  qlrtest::WriteBytes(folder.File(L"offset.bmp"), offset);
  {
    // Sparse on the host: a size without the disk space.
    HANDLE file = CreateFileW(folder.File(L"huge.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(kMaxHistoryDataFileBytes) + 1;
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
  }
  struct Bad {
    const wchar_t* name;
    const wchar_t* keys;
  } bad[] = {
      {L"a1.info", L"DataType=1\r\nProtected=0\r\n"},
      {L"a2.info", L"DataType=1\r\nProtected=\r\nFile0=Unicode_clipboard_history50.txt\r\n"},
      {L"a3.info", L"DataType=x\r\nFile0=Unicode_clipboard_history50.txt\r\n"},
      {L"a4.info", L"Protected=1\r\nCaptureTime=12ab\r\nFile0=Unicode_clipboard_history51.txt\r\n"},
      {L"a5.info", L"File0=folder.txt\r\n"},
      {L"a6.info", L"File0=a6.info\r\n"},
      {L"a7.info", L"File0=missing.txt\r\n"},
      {L"a8.info", L"File0=empty.txt\r\n"},
      {L"a9.info", L"File0=cut.bmp\r\n"},
      {L"b1.info", L"File0=tall.bmp\r\n"},
      {L"b2.info", L"File0=offset.bmp\r\n"},
      {L"b3.info", L"File0=huge.txt\r\n"},
      {L"b4.info", L"File0=C:outside.txt\r\n"},
      {L"b5.info", L"File0=sub/outside.txt\r\n"},
      {L"b6.info", L"File0=\r\nFile1=Unicode_clipboard_history50.txt\r\n"},
  };
  for (const Bad& b : bad) Descriptor(b.name, b.keys);
  qlrtest::WriteBytes(folder.File(L"a10.info"), std::string("\xFF\xFE[\0", 4));
  Load();
  EXPECT_EQ(LoadedTexts(), Texts{L"the good one"});
}

TEST_F(StoreTest, AReplacedDuplicateLeavesNoFilesBehind) {
  CCHQueue live;
  auto first = MakeText(L"copied twice");
  ASSERT_TRUE(SaveHistoryItem(folder.Path(), *first));
  const std::wstring firstData = first->dataPath, firstDescriptor = first->descriptorPath;
  live.Add(first.release(), 10);
  CCHItem* again = MakeText(L"copied twice").release();
  live.Add(again, 10);
  EXPECT_FALSE(Exists(firstData));
  EXPECT_FALSE(Exists(firstDescriptor));
  ASSERT_TRUE(SaveHistoryItem(folder.Path(), *again));
  Load();
  EXPECT_EQ(LoadedTexts(), Texts{L"copied twice"});
  std::vector<std::wstring> names;
  EXPECT_EQ(ListHistoryDescriptors(folder.Path(), &names), 1);
}

TEST_F(StoreTest, ADescriptorThatCannotBeWrittenLeavesNoDataFiles) {
  auto item = MakeText(L"nowhere to go");
  item->alternates.push_back(std::shared_ptr<CCHItem>(MakeBytes(kHistoryKindRtf, "{\\rtf1 n}", true).release()));
  item->descriptorPath = folder.File(L"taken.info");
  CreateDirectoryW(item->descriptorPath.c_str(), nullptr);  // a folder stands where it should go
  EXPECT_FALSE(SaveHistoryItem(folder.Path(), *item));
  EXPECT_FALSE(Exists(folder.File(L"Unicode_clipboard_history1.txt")));
  EXPECT_FALSE(Exists(folder.File(L"clipboard_history1.rtf")));
  EXPECT_TRUE(item->dataPath.empty());
  EXPECT_TRUE(item->alternates[0]->dataPath.empty());
  EXPECT_EQ(item->storedState, kStoredNot);
}

// Runs change on this thread while another one holds the save/load lock
// and the item's files open, as the load does while it reads them; false
// when that thread did not start.
bool ChangeWhileTheLoadReads(const CCHItem& item, const std::function<void()>& change) {
  HANDLE reading = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!reading) return false;
  std::thread load([&] {
    CSaveLoadLock lock(false);
    // Opened as the load opens them.
    HANDLE descriptor = CreateFileW(item.descriptorPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    HANDLE data =
        CreateFileW(item.dataPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SetEvent(reading);
    Sleep(300);  // the time a large history takes to read
    CloseHandle(data);
    CloseHandle(descriptor);
  });
  const bool started = WaitForSingleObject(reading, 10000) == WAIT_OBJECT_0;
  if (started) change();
  load.join();
  CloseHandle(reading);
  return started;
}

// A protection set while the load reads the item waits for it: written
// beside the open files, it did not reach the descriptor, and the next
// start trimmed the item away.
TEST_F(StoreTest, AProtectionSetWhileTheLoadReadsTheItemReachesTheDisk) {
  auto item = Saved(MakeText(L"protected while loading"));
  ASSERT_TRUE(ChangeWhileTheLoadReads(*item, [&] { item->SetProtected(true); }));
  std::vector<std::wstring> files;
  bool isProtected = false;
  ASSERT_TRUE(ReadHistoryDescriptor(item->descriptorPath, &files, &isProtected));
  EXPECT_TRUE(isProtected);
  EXPECT_TRUE(IsReadOnly(item->dataPath));
  EXPECT_TRUE(IsReadOnly(item->descriptorPath));
  Load();
  ASSERT_EQ(loaded->Count(), 1);
  EXPECT_TRUE(loaded->GetItem(0)->IsProtected());
}

// A delete while the load reads the item waits for it too: the files of a
// removed item must not stay to come back at the next start.
TEST_F(StoreTest, AnItemDeletedWhileTheLoadReadsItLeavesNoFiles) {
  auto item = Saved(MakeText(L"deleted while loading"));
  const std::wstring descriptor = item->descriptorPath, data = item->dataPath;
  ASSERT_TRUE(ChangeWhileTheLoadReads(*item, [&] { item->DeleteFiles(); }));
  EXPECT_FALSE(Exists(descriptor));
  EXPECT_FALSE(Exists(data));
  EXPECT_EQ(item->storedState, kStoredNot);
}

// The load reads a data file beside other readers (the test reading a file
// just saved, a viewer) instead of failing them or itself.
TEST_F(StoreTest, ADataFileAnotherReaderHoldsOpenStillLoads) {
  auto item = Saved(MakeText(L"read by two"));
  HANDLE other = CreateFileW(item->dataPath.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  std::unique_ptr<CCHItem> read = LoadHistoryDataFile(item->dataPath);
  CloseHandle(other);
  ASSERT_TRUE(read);
  ASSERT_TRUE(read->Text());
  EXPECT_EQ(std::wstring(read->Text()), L"read by two");
}

// A thread that holds the lock passes through a second one (the load
// setting a loaded item's protection), and still holds it after that ends.
TEST(SaveLoadLockTest, AHolderPassesThroughASecondLockOfItsOwn) {
  CSaveLoadLock outer(false);
  ASSERT_TRUE(outer.Held());
  {
    CSaveLoadLock inner(false, 100);
    EXPECT_TRUE(inner.Held());
  }
  bool otherHeld = true;
  std::thread other([&] {
    CSaveLoadLock lock(false, 100);
    otherHeld = lock.Held();
  });
  other.join();
  EXPECT_FALSE(otherHeld);
}

TEST(DescriptorTest, ParsingGivesWhatTheProfileFunctionsRead) {
  qlrtest::TempDir dir;
  const wchar_t* keys[] = {L"DataType", L"Protected", L"File0", L"File1", L"CaptureTime", L"Other"};
  const std::wstring texts[] = {
      L"[Files]\r\nDataType=1\r\nProtected=0\r\nFile0=a.txt\r\n",
      L"  [ files ]  \r\n  datatype =  4  \r\nFILE0=  \"quoted name.bmp\"  \r\nfile1='single'\r\n",
      L"[Other]\r\nFile0=wrong\r\n[Files]\nFile0=right\nFile0=second\nProtected\n",
      L"[Files]\r\nFile0=" + std::wstring(300, L'n') + L"\r\nCaptureTime=133\r\n[Files]\r\nFile1=later\r\n",
      L"[Files\r\nFile0=x\r\n",
      L"File0=before any section\r\n[Files]\r\nDataType==2\r\nFile1=\"\r\n",
  };
  int n = 0;
  for (const std::wstring& text : texts) {
    std::wstring path = dir.File(L"d" + std::to_wstring(n++) + L".info");
    qlrtest::WriteUtf16File(path, text);
    for (const wchar_t* key : keys) {
      std::wstring ours;
      bool found = FindProfileValue(text, L"Files", key, &ours);
      EXPECT_EQ(found ? ours : L"<none>", Profile(path, key)) << path << " " << key;
    }
  }
  // An ANSI file, as the profile functions create one.
  std::string ansi = "[Files]\r\nFile0=ansi.txt\r\n";
  EXPECT_EQ(DecodeProfileText(ansi.data(), ansi.size()), L"[Files]\r\nFile0=ansi.txt\r\n");
}

}  // namespace

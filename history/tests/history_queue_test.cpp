#include "history/store/history_queue.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "history/tests/history_test_util.h"

using namespace histtest;

namespace {

class QueueTest : public ::testing::Test {
 protected:
  // Gives the item a descriptor and a data file in the history folder, as a
  // save would.
  CCHItem* Stored(std::unique_ptr<CCHItem> item, const std::wstring& stem) {
    item->descriptorPath = folder.File(stem + L".info");
    qlrtest::WriteUtf16File(item->descriptorPath, L"[Files]\r\nProtected=0\r\n");
    std::wstring data = folder.File(stem + L".txt");
    qlrtest::WriteBytes(data, "data");
    item->SetStoredState(kStoredSaved, data);
    return item.release();
  }
  CCHItem* StoredProtected(const std::wstring& stem) {
    CCHItem* item = Stored(MakeText(stem), stem);
    item->SetProtected(true);
    return item;
  }
  CCHItem* Text(const std::wstring& text) { return MakeText(text).release(); }
  std::vector<std::wstring> Texts() const {
    std::vector<std::wstring> texts;  // newest first
    for (int i = 0; i < queue.Count(); ++i) texts.push_back(queue.GetItem(i)->Text());
    return texts;
  }
  std::vector<std::wstring> FilesOnDisk() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder.Path() + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

  HistoryFolder folder;
  CCHQueue queue;
};

using Names = std::vector<std::wstring>;

TEST_F(QueueTest, SameTextTwiceKeepsOneNewestItemWithTheFirstNumberAndProtection) {
  CCHItem* first = StoredProtected(L"first");
  first->SetData(L"same", 10);
  std::uint32_t firstNumber = first->number;
  ASSERT_TRUE(queue.Add(first, 10));
  ASSERT_TRUE(queue.Add(Text(L"other"), 10));
  CCHItem* again = Text(L"same");
  ASSERT_TRUE(queue.Add(again, 10));

  EXPECT_EQ(Texts(), (Names{L"same", L"other"}));
  EXPECT_EQ(queue.GetItem(0), again);
  EXPECT_EQ(again->number, firstNumber);
  EXPECT_TRUE(again->IsProtected());
  // The replaced copy's files are gone (they were read-only).
  EXPECT_EQ(FilesOnDisk(), Names{});
}

TEST_F(QueueTest, LockedQueueRefusesItemsAndTheCallerKeepsThem) {
  queue.SetLocked(true);
  auto item = MakeText(L"x");
  EXPECT_FALSE(queue.Add(item.get(), 10));
  EXPECT_EQ(queue.Count(), 0);
  queue.SetLocked(false);
  EXPECT_TRUE(queue.Add(item.release(), 10));
  EXPECT_EQ(queue.Count(), 1);
}

TEST(ItemEqualityTest, KindsCompareByTheirOwnRules) {
  auto red1 = MakeBitmapItem(16, 8, RGB(255, 0, 0), RGB(0, 0, 255));
  auto red2 = MakeBitmapItem(16, 8, RGB(255, 0, 0), RGB(0, 0, 255));
  auto otherCorner = MakeBitmapItem(16, 8, RGB(255, 0, 0), RGB(0, 255, 0));
  auto otherSize = MakeBitmapItem(8, 16, RGB(255, 0, 0), RGB(0, 0, 255));
  auto brindle1 = MakeBytes(kHistoryKindBrindle, "\x01\x02\x03", false);
  auto brindle2 = MakeBytes(kHistoryKindBrindle, "\x01\x02\x03", false);
  auto uni1 = MakeText(L"text"), uni2 = MakeText(L"text"), uni3 = MakeText(L"texts");
  auto ansi = MakeBytes(kHistoryKindAnsi, "text", true);
  auto ansi2 = MakeBytes(kHistoryKindAnsi, "text", true);
  auto rtf = MakeBytes(kHistoryKindRtf, "text", true);
  struct Case {
    const char* what;
    const CCHItem* a;
    const CCHItem* b;
    bool same;
  } cases[] = {
      {"bitmaps with equal pixels", red1.get(), red2.get(), true},
      {"bitmaps with another pixel", red1.get(), otherCorner.get(), false},
      {"bitmaps of another shape", red1.get(), otherSize.get(), false},
      {"a bitmap and itself", red1.get(), red1.get(), true},
      {"equal Brindle documents", brindle1.get(), brindle2.get(), false},
      {"a Brindle document and itself", brindle1.get(), brindle1.get(), false},
      {"equal Unicode texts", uni1.get(), uni2.get(), true},
      {"a longer Unicode text", uni1.get(), uni3.get(), false},
      {"equal ANSI texts", ansi.get(), ansi2.get(), true},
      {"ANSI and RTF of the same bytes", ansi.get(), rtf.get(), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSameContent(*c.a, *c.b), c.same) << c.what;
}

TEST(ItemEqualityTest, BitmapsNeverReadPastTheirBits) {
  // Bitmaps of other depths and shapes, one of them empty of a handle.
  auto big = MakeBitmapItem(640, 480, RGB(1, 2, 3), RGB(1, 2, 3));
  auto tiny = MakeBitmapItem(1, 1, RGB(1, 2, 3), RGB(1, 2, 3));
  CCHItem none(kHistoryKindBitmap);
  CCHItem mono(kHistoryKindBitmap);
  mono.SetBitmap(CreateBitmap(640, 480, 1, 1, nullptr), true);
  EXPECT_FALSE(IsSameContent(*big, *tiny));
  EXPECT_FALSE(IsSameContent(*big, none));
  EXPECT_FALSE(IsSameContent(*big, mono));
  EXPECT_FALSE(IsSameContent(mono, *tiny));
}

TEST_F(QueueTest, TrimKeepsTheNewestAndEveryProtectedItem) {
  for (const wchar_t* text : {L"p1", L"p2"}) queue.Add(StoredProtected(text), -1);
  for (const wchar_t* text : {L"u1", L"u2", L"u3", L"u4"}) queue.Add(Stored(MakeText(text), text), -1);
  EXPECT_EQ(queue.Count(), 6);  // -1 never trims

  queue.Trim(3);
  EXPECT_EQ(Texts(), (Names{L"u4", L"u3", L"u2", L"p2", L"p1"}));
  EXPECT_FALSE(Exists(folder.File(L"u1.txt")));
  EXPECT_FALSE(Exists(folder.File(L"u1.info")));
  EXPECT_TRUE(Exists(folder.File(L"p1.txt")));

  // Add trims too.
  queue.Add(Text(L"u5"), 3);
  EXPECT_EQ(Texts(), (Names{L"u5", L"u4", L"u3", L"p2", L"p1"}));
}

TEST_F(QueueTest, ClearKeepsProtectedItemsWithTheirFilesAndUndoBringsAllBackUnsaved) {
  queue.Add(StoredProtected(L"kept"), 10);
  queue.Add(Stored(MakeText(L"a"), L"a"), 10);
  queue.Add(Stored(MakeText(L"b"), L"b"), 10);
  qlrtest::WriteBytes(folder.File(L"stray.bmp"), "x");
  CreateDirectoryW(folder.File(L"sub").c_str(), nullptr);

  EXPECT_TRUE(queue.Clear());
  EXPECT_EQ(Texts(), Names{L"kept"});
  EXPECT_EQ(FilesOnDisk(), (Names{L"kept.info", L"kept.txt"}));
  EXPECT_TRUE(IsReadOnly(folder.File(L"kept.txt")));
  EXPECT_TRUE(IsReadOnly(folder.File(L"kept.info")));
  // Still stored: an exit before the next save loses nothing.
  EXPECT_EQ(queue.GetItem(0)->storedState, kStoredSaved);
  EXPECT_TRUE(Exists(folder.File(L"sub")));  // folders stay
  EXPECT_TRUE(queue.CanUndo());

  queue.Add(Text(L"later"), 10);  // a capture between clear and undo
  EXPECT_TRUE(queue.Undo());
  Names texts = Texts();
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (Names{L"a", L"b", L"kept", L"later"}));
  for (int i = 0; i < queue.Count(); ++i) {
    EXPECT_EQ(queue.GetItem(i)->storedState, kStoredNot) << i;
    EXPECT_TRUE(queue.GetItem(i)->dataPath.empty()) << i;
  }
  EXPECT_FALSE(queue.CanUndo());
  EXPECT_FALSE(queue.Undo());
}

TEST_F(QueueTest, ClearOfAnEmptyQueueStillEmptiesTheFolder) {
  qlrtest::WriteBytes(folder.File(L"left.txt"), "x");
  SetFileReadOnly(folder.File(L"left.txt"), true);
  EXPECT_FALSE(queue.Clear());
  EXPECT_EQ(FilesOnDisk(), Names{});
  EXPECT_FALSE(queue.CanUndo());
}

TEST_F(QueueTest, DeletingRemovesUnprotectedItemsAndUndoDoesNotDuplicateProtectedOnes) {
  queue.Add(StoredProtected(L"guarded"), 10);
  queue.Add(Stored(MakeText(L"old"), L"old"), 10);
  queue.Add(Stored(MakeText(L"new"), L"new"), 10);

  EXPECT_TRUE(queue.DeleteItems({0}, true));
  EXPECT_EQ(Texts(), (Names{L"old", L"guarded"}));
  EXPECT_FALSE(Exists(folder.File(L"new.txt")));

  // Only a protected item in the set: nothing goes and no undo entry.
  EXPECT_TRUE(queue.DeleteItems({1}, true));
  EXPECT_EQ(Texts(), (Names{L"old", L"guarded"}));
  EXPECT_EQ(queue.GetUndoCount(), 1);

  EXPECT_TRUE(queue.DeleteItems({0, 1, 7}, true));
  EXPECT_EQ(Texts(), Names{L"guarded"});
  EXPECT_EQ(queue.GetUndoCount(), 2);

  EXPECT_TRUE(queue.Undo());
  EXPECT_EQ(Texts(), (Names{L"old", L"guarded"}));
  EXPECT_TRUE(queue.Undo());
  EXPECT_EQ(Texts(), (Names{L"new", L"old", L"guarded"}));
  EXPECT_EQ(queue.GetItem(0)->storedState, kStoredNot);

  EXPECT_FALSE(queue.DeleteItems({}, true));
  CCHQueue empty;
  EXPECT_FALSE(empty.DeleteItems({0}, true));
}

TEST_F(QueueTest, ProtectionSetsAndClearsTheReadOnlyBitsOfBothFiles) {
  CCHItem* item = Stored(MakeText(L"p"), L"p");
  queue.Add(item, 10);
  const std::wstring data = folder.File(L"p.txt"), descriptor = folder.File(L"p.info");
  auto protectedKey = [&] {
    return GetPrivateProfileIntW(L"Files", L"Protected", -1, descriptor.c_str());
  };
  for (bool flag : {true, false, true}) {
    item->SetProtected(flag);
    EXPECT_EQ(IsReadOnly(data), flag);
    EXPECT_EQ(IsReadOnly(descriptor), flag);
    EXPECT_EQ(protectedKey(), flag ? 1 : 0);
  }
  // An unsaved item only changes its flag.
  CCHItem* fresh = Text(L"fresh");
  qlrtest::WriteBytes(folder.File(L"fresh.txt"), "x");
  fresh->dataPath = folder.File(L"fresh.txt");
  fresh->SetProtected(true);
  EXPECT_TRUE(fresh->IsProtected());
  EXPECT_FALSE(IsReadOnly(folder.File(L"fresh.txt")));
  delete fresh;
}

TEST_F(QueueTest, AddOfANewTextToALargeHistoryIsQuick) {
  constexpr int kItems = 1000;
  for (int i = 0; i < kItems; ++i) {
    if (i % 100 == 0)
      queue.Append(MakeBitmapItem(1920, 1080, RGB(i % 256, 0, 0), RGB(0, 0, 0)));
    else
      queue.Append(MakeText(L"history text number " + std::to_wstring(i)));
  }
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  double best = 1e9;
  for (int round = 0; round < 5; ++round) {
    CCHItem* item = Text(L"a new text " + std::to_wstring(round));
    QueryPerformanceCounter(&start);
    queue.Add(item, 2 * kItems);
    QueryPerformanceCounter(&end);
    double ms = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
    best = std::min(best, ms);
    printf("Add of a new text to %d items (ten 1920x1080 bitmaps): %.3f ms\n", queue.Count() - 1, ms);
  }
  EXPECT_LE(best, 2.0);
}

}  // namespace

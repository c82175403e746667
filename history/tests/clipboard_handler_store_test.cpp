#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "foundation/files/ini.h"
#include "foundation/ui/rich_edit_convert.h"
#include "history/capture/clipboard_handler.h"
#include "history/store/history_descriptor.h"
#include "history/store/history_names.h"
#include "history/store/save_load_lock.h"
#include "history/store/history_store.h"
#include "history/tests/handler_parent.h"

using namespace histtest;

namespace {

class HandlerStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    options.spyMethod = kSpyMethodListener;
    options.saveHistory = true;
    options.folder = folder.Path();
  }
  std::unique_ptr<CQLRWndClipboardHandler> Start() {
    auto handler = std::make_unique<CQLRWndClipboardHandler>();
    handler->SetOptions(options);
    int notices = parent.Count(CHN_HISTORYLOADED);
    EXPECT_TRUE(handler->Create(parent.hwnd, kHandlerId, false));
    bool stored = !Descriptors().empty();
    // A folder with items is merged once loaded.
    if (stored) {
      EXPECT_TRUE(qlrtest::PumpUntil([&] { return parent.Count(CHN_HISTORYLOADED) > notices; }, 10000));
    }
    return handler;
  }
  CCHItem* Copy(CQLRWndClipboardHandler& handler, const std::wstring& text) {
    EXPECT_TRUE(qlrtest::PutClipboardText(text));
    EXPECT_TRUE(qlrtest::PumpUntil(
        [&] { return handler.GetItemCount() > 0 && handler.GetItem(0)->Text() == text; }, 10000));
    return handler.GetItemCount() ? handler.GetItem(0) : nullptr;
  }
  static bool WaitSaved(CCHItem* item) {
    return qlrtest::PumpUntil([&] { return item->storedState == kStoredSaved; }, 10000);
  }
  std::vector<std::wstring> Descriptors() const {
    std::vector<std::wstring> names;
    ListHistoryDescriptors(folder.Path(), &names);
    return names;
  }
  std::vector<std::wstring> SortedDescriptors() const {
    std::vector<std::wstring> names = Descriptors();
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::vector<std::wstring> HeldTexts(const CQLRWndClipboardHandler& handler) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < handler.GetItemCount(); ++i) texts.push_back(handler.GetItem(i)->Text());
    return texts;
  }

  HistoryFolder folder;
  histtest::HandlerParent parent;
  ClipboardHandlerOptions options;
};

using Texts = std::vector<std::wstring>;

TEST_F(HandlerStoreTest, CapturesAreSavedAndComeBackOnceAfterARecreation) {
  auto handler = Start();
  CCHItem* first = Copy(*handler, L"Hello history");
  ASSERT_TRUE(WaitSaved(first));
  const std::wstring info = folder.File(L"quillora_cb1.info");
  EXPECT_EQ(first->descriptorPath, info);
  EXPECT_EQ(IniReadString(info, L"Files", L"DataType"), L"1");
  EXPECT_EQ(IniReadString(info, L"Files", L"File0"), L"Unicode_clipboard_history1.txt");
  EXPECT_EQ(qlrtest::ReadBytes(folder.File(L"Unicode_clipboard_history1.txt")),
            "\xFF\xFE" + std::string(reinterpret_cast<const char*>(L"Hello history"), 28));
  CCHItem* second = Copy(*handler, L"second");
  ASSERT_TRUE(WaitSaved(second));
  handler->GetItem(1)->SetProtected(true);

  // The window made again keeps its items and takes no copy of their files.
  handler->Destroy();
  ASSERT_TRUE(handler->Create(parent.hwnd, kHandlerId, false));
  qlrtest::PumpUntil([] { return false; }, 500);
  EXPECT_EQ(HeldTexts(*handler), (Texts{L"second", L"Hello history"}));
  handler.reset();

  // A new start loads each item once, the protected one protected.
  auto again = Start();
  EXPECT_EQ(HeldTexts(*again), (Texts{L"second", L"Hello history"}));
  ASSERT_EQ(again->GetItemCount(), 2);
  EXPECT_TRUE(again->GetItem(1)->IsProtected());
  EXPECT_EQ(Descriptors().size(), 2u);
}

TEST_F(HandlerStoreTest, AProtectedItemSurvivesAClearAndAnEndAtOnce) {
  auto handler = Start();
  CCHItem* kept = Copy(*handler, L"kept");
  ASSERT_TRUE(WaitSaved(kept));
  kept->SetProtected(true);
  Copy(*handler, L"gone");
  EXPECT_TRUE(handler->ClearHistory());
  handler.reset();  // written what was unsaved, at once

  auto again = Start();
  EXPECT_EQ(HeldTexts(*again), Texts{L"kept"});
  ASSERT_EQ(again->GetItemCount(), 1);
  EXPECT_TRUE(again->GetItem(0)->IsProtected());
}

TEST_F(HandlerStoreTest, UnsavedItemsAreWrittenWhenTheWindowEnds) {
  options.saveHistory = true;
  auto handler = Start();
  {
    CSaveLoadLock busy(true);  // the save thread waits
    Copy(*handler, L"written at the end");
  }
  handler.reset();
  EXPECT_EQ(Descriptors().size(), 1u);
  auto again = Start();
  EXPECT_EQ(HeldTexts(*again), Texts{L"written at the end"});
}

TEST_F(HandlerStoreTest, StaleOrRepeatedSavesLeaveOneCopyOnDisk) {
  auto handler = Start();
  CCHItem* edited = nullptr;
  CCHItem gone(kHistoryKindUnicode);  // stands for the deleted item's key
  {
    CSaveLoadLock busy(true);  // each save thread takes its copies, then waits
    CCHItem* deleted = Copy(*handler, L"deleted while written");
    ASSERT_TRUE(qlrtest::PumpUntil([&] { return handler->IsSavePending(*deleted); }, 10000));
    gone.key = deleted->key;
    EXPECT_TRUE(handler->DeleteItems({0}, false));
    edited = Copy(*handler, L"edited while written");
    ASSERT_TRUE(qlrtest::PumpUntil([&] { return handler->IsSavePending(*edited); }, 10000));
    edited->MarkEdited();
    edited->SetData(L"the edit", 18);
    handler->PostSaveRequest();  // the item is being written: no second copy
    handler->PostSaveRequest();
    Pump(300);
  }
  // Both results were stale: their files went again. The two save threads
  // finish in either order, so wait for both results.
  ASSERT_TRUE(qlrtest::PumpUntil(
      [&] { return !handler->IsSavePending(*edited) && !handler->IsSavePending(gone); }, 10000));
  EXPECT_EQ(edited->storedState, kStoredNot);
  EXPECT_TRUE(Descriptors().empty());
  handler->PostSaveRequest();
  ASSERT_TRUE(WaitSaved(edited));
  // One copy; its number depends on whether the stale files were gone
  // when the name was chosen.
  const std::vector<std::wstring> saved = Descriptors();
  ASSERT_EQ(saved.size(), 1u);
  std::wstring data = folder.File(IniReadString(folder.File(saved[0]), L"Files", L"File0"));
  EXPECT_EQ(qlrtest::ReadBytes(data), "\xFF\xFE" + std::string(reinterpret_cast<const char*>(L"the edit"), 18));
}

TEST_F(HandlerStoreTest, MessagesNamingForeignObjectsAreIgnored) {
  options.saveHistory = false;
  auto handler = Start();
  CCHItem* live = Copy(*handler, L"live");
  CCHItem foreign(kHistoryKindUnicode);
  foreign.key = live->key;
  foreign.dataPath = folder.File(L"elsewhere.txt");
  foreign.storedState = kStoredSaved;
  SendMessageW(handler->GetHwnd(), GetItemSavedMessage(), 0, reinterpret_cast<LPARAM>(&foreign));
  SendMessageW(handler->GetHwnd(), GetItemSavedMessage(), 0, 0x1234);
  EXPECT_EQ(live->storedState, kStoredNot);
  EXPECT_TRUE(live->dataPath.empty());

  CCHQueue strangers;
  strangers.Append(MakeText(L"stranger"));
  SendMessageW(handler->GetHwnd(), GetHistoryLoadedMessage(), 0, reinterpret_cast<LPARAM>(&strangers));
  SendMessageW(handler->GetHwnd(), kHistoryWorkerDone, 0, reinterpret_cast<LPARAM>(&strangers));
  EXPECT_EQ(handler->GetItemCount(), 1);
  EXPECT_EQ(strangers.Count(), 1);
}

TEST_F(HandlerStoreTest, TheMergeCutsLikeTrimAndDropsTheStoredTwinOfTheStartCapture) {
  {
    auto handler = Start();
    CCHItem* oldest = Copy(*handler, L"oldest, protected");
    ASSERT_TRUE(WaitSaved(oldest));
    oldest->SetProtected(true);
    oldest->ApplyProtectionToFiles();
    for (const wchar_t* text : {L"middle", L"newest"}) ASSERT_TRUE(WaitSaved(Copy(*handler, text)));
  }
  ASSERT_EQ(Descriptors().size(), 3u);
  // A smaller limit: the merge keeps the protected item beyond it.
  options.historyMax = 1;
  {
    auto handler = Start();
    EXPECT_EQ(HeldTexts(*handler), (Texts{L"newest", L"oldest, protected"}));
    ASSERT_EQ(handler->GetItemCount(), 2);
    EXPECT_TRUE(handler->GetItem(1)->IsProtected());
  }
  EXPECT_EQ(Descriptors().size(), 2u);
  // The clipboard still holds the newest text: captured at the start and
  // loaded, it stands once, and its stored files are not kept twice.
  options.historyMax = 30;
  ASSERT_TRUE(qlrtest::PutClipboardText(L"newest"));
  auto handler = std::make_unique<CQLRWndClipboardHandler>();
  handler->SetOptions(options);
  int notices = parent.Count(CHN_HISTORYLOADED);
  ASSERT_TRUE(handler->Create(parent.hwnd, kHandlerId, true));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return parent.Count(CHN_HISTORYLOADED) > notices; }, 10000));
  EXPECT_EQ(HeldTexts(*handler), (Texts{L"newest", L"oldest, protected"}));
  ASSERT_TRUE(WaitSaved(handler->GetItem(0)));
  handler.reset();
  EXPECT_EQ(Descriptors().size(), 2u);
}

}  // namespace

namespace {

HANDLE g_loadGate = nullptr;
void WaitForTheLoadGate() { WaitForSingleObject(g_loadGate, 20000); }

// Files a save of this run wrote but has not reported yet belong to the
// live item it copied: the load leaves them out, and the merge does not
// delete them as the stored twin of that item.
TEST_F(HandlerStoreTest, TheLoadLeavesTheFilesOfAnUnreportedSave) {
  {
    auto handler = Start();
    ASSERT_TRUE(WaitSaved(Copy(*handler, L"older")));
  }
  auto written = MakeText(L"fresh");
  ASSERT_TRUE(SaveHistoryItem(folder.Path(), *written));
  std::vector<std::wstring> files;
  written->CollectFiles(&files);
  ASSERT_EQ(files.size(), 2u);
  NoteFilesInFlight(files);
  ASSERT_TRUE(qlrtest::PutClipboardText(L"fresh"));
  auto handler = std::make_unique<CQLRWndClipboardHandler>();
  handler->SetOptions(options);
  int notices = parent.Count(CHN_HISTORYLOADED);
  ASSERT_TRUE(handler->Create(parent.hwnd, kHandlerId, true));
  bool loaded = qlrtest::PumpUntil([&] { return parent.Count(CHN_HISTORYLOADED) > notices; }, 10000);
  ForgetFilesInFlight(files);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(HeldTexts(*handler), (Texts{L"fresh", L"older"}));
  for (const auto& file : files) EXPECT_TRUE(Exists(file)) << qlrtest::ToUtf8(file);
}

// A clear while the stored history is still being read does not wait for
// the load: it runs once the load is merged, so nothing stored comes back,
// and what was copied after the clear stays.
TEST_F(HandlerStoreTest, AClearDuringTheLoadRunsOnceItIsMerged) {
  {
    auto handler = Start();
    ASSERT_TRUE(WaitSaved(Copy(*handler, L"stored")));
  }
  g_loadGate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(g_loadGate, nullptr);
  SetBeforeHistoryLoadHook(&WaitForTheLoadGate);
  auto handler = std::make_unique<CQLRWndClipboardHandler>();
  handler->SetOptions(options);
  int notices = parent.Count(CHN_HISTORYLOADED);
  ASSERT_TRUE(handler->Create(parent.hwnd, kHandlerId, false));
  Copy(*handler, L"captured while loading");
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(handler->ClearHistory());
  const ULONGLONG took = GetTickCount64() - start;
  Copy(*handler, L"copied after the clear");
  SetEvent(g_loadGate);
  bool loaded = qlrtest::PumpUntil([&] { return parent.Count(CHN_HISTORYLOADED) > notices; }, 10000);
  SetBeforeHistoryLoadHook(nullptr);
  CloseHandle(g_loadGate);
  EXPECT_LT(took, 1000u);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(HeldTexts(*handler), (Texts{L"copied after the clear"}));
  handler.reset();
  EXPECT_EQ(Descriptors().size(), 1u);
  EXPECT_EQ(HeldTexts(*Start()), (Texts{L"copied after the clear"}));
}

// The start capture saved before the load reads the folder: its fresh files
// stand beside the stored copy of the same text, and only the stored copy goes.
TEST_F(HandlerStoreTest, AStartCaptureSavedBeforeTheLoadKeepsItsOwnFiles) {
  {
    auto handler = Start();
    CCHItem* oldest = Copy(*handler, L"oldest");
    ASSERT_TRUE(WaitSaved(oldest));
    CCHItem* middle = Copy(*handler, L"middle");
    ASSERT_TRUE(WaitSaved(middle));
    ASSERT_TRUE(WaitSaved(Copy(*handler, L"newest")));
    // A gap in the names: the next save takes the name before the stored copy's.
    std::set<int> first = {1};
    ASSERT_TRUE(handler->DeleteItems(first, false));
  }
  ASSERT_EQ(SortedDescriptors(), (std::vector<std::wstring>{L"quillora_cb1.info", L"quillora_cb3.info"}));

  g_loadGate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(g_loadGate, nullptr);
  SetBeforeHistoryLoadHook(&WaitForTheLoadGate);
  ASSERT_TRUE(qlrtest::PutClipboardText(L"newest"));
  auto handler = std::make_unique<CQLRWndClipboardHandler>();
  handler->SetOptions(options);
  int notices = parent.Count(CHN_HISTORYLOADED);
  ASSERT_TRUE(handler->Create(parent.hwnd, kHandlerId, true));
  ASSERT_EQ(handler->GetItemCount(), 1);
  CCHItem* live = handler->GetItem(0);
  bool saved = WaitSaved(live);
  SetEvent(g_loadGate);
  bool loaded = qlrtest::PumpUntil([&] { return parent.Count(CHN_HISTORYLOADED) > notices; }, 10000);
  SetBeforeHistoryLoadHook(nullptr);
  CloseHandle(g_loadGate);
  ASSERT_TRUE(saved);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(live->descriptorPath, folder.File(L"quillora_cb2.info"));
  EXPECT_EQ(HeldTexts(*handler), (Texts{L"newest", L"oldest"}));
  handler.reset();
  EXPECT_EQ(SortedDescriptors(), (std::vector<std::wstring>{L"quillora_cb1.info", L"quillora_cb2.info"}));
}

}  // namespace

namespace {

void SlowItemSave() { Sleep(40); }

// The end of the window while a long save runs: the save thread sends its
// results to the window's thread, which must never wait for a lock that
// thread holds. Also with the save/load event held by a holder that never
// lets go (another process gone astray). Either way the end comes in
// bounded time and every item is on disk.
TEST_F(HandlerStoreTest, TheEndIsBoundedWhileALongSaveRunsAndSavesEverything) {
  constexpr int kItems = 200;  // 40 ms each: longer than the end waits for the thread
  options.historyMax = 1000;
  for (bool foreignHolder : {false, true}) {
    SCOPED_TRACE(foreignHolder ? "the event held elsewhere" : "a long save");
    for (const auto& name : Descriptors()) DeleteFileW(folder.File(name).c_str());
    auto handler = Start();
    for (int i = 0; i < kItems; ++i) handler->Queue().Append(MakeText(L"item " + std::to_wstring(i)));
    SetBeforeHistoryItemSaveHook(&SlowItemSave);
    handler->PostSaveRequest();
    CCHItem* oldest = handler->GetItem(kItems - 1);
    ASSERT_TRUE(qlrtest::PumpUntil([&] { return oldest->storedState == kStoredSaved; }, 10000));
    // The other holder keeps the event reset whatever this process does.
    std::atomic<bool> holding{foreignHolder};
    std::thread holder([&] {
      HANDLE foreign = OpenEventW(EVENT_MODIFY_STATE, FALSE, history_names::kSaveLoadEvent);
      while (holding) {
        ResetEvent(foreign);
        Sleep(1);
      }
      if (foreign) {
        SetEvent(foreign);
        CloseHandle(foreign);
      }
    });
    const ULONGLONG start = GetTickCount64();
    handler.reset();
    const ULONGLONG took = GetTickCount64() - start;
    holding = false;
    holder.join();
    SetBeforeHistoryItemSaveHook(nullptr);
    EXPECT_LT(took, 12000u);
    EXPECT_EQ(Descriptors().size(), static_cast<size_t>(kItems));
    auto again = Start();
    EXPECT_EQ(again->GetItemCount(), kItems);
  }
}

bool PutRichCopy(const std::string& rtf, const std::string& html, const std::wstring& text) {
  if (!qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return false;
  EmptyClipboard();
  auto set = [](UINT format, const void* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return SetClipboardData(format, block) != nullptr;
  };
  bool ok = (rtf.empty() || set(RegisterClipboardFormatW(L"Rich Text Format"), rtf.c_str(), rtf.size() + 1)) &&
            (html.empty() || set(RegisterClipboardFormatW(L"HTML Format"), html.c_str(), html.size() + 1)) &&
            set(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  CloseClipboard();
  return ok;
}

// A text form of the clipboard up to its terminator.
template <typename Char>
std::basic_string<Char> ClipboardString(UINT format) {
  std::basic_string<Char> text;
  if (!qlrtest::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 5000)) return text;
  if (HANDLE data = GetClipboardData(format)) {
    text = static_cast<const Char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::wstring ClipboardText() { return ClipboardString<wchar_t>(CF_UNICODETEXT); }
std::string ClipboardBytes(UINT format) { return ClipboardString<char>(format); }

// A browser's copy (RTF, HTML with its source URL, text), protected and
// saved: put back from the history, every form is on the clipboard again
// and the capture of it keeps the item itself with every form, written
// again as the newest (the old files go). A later copy
// of the same text alone keeps the forms and the URL the older copy had.
TEST_F(HandlerStoreTest, PutBackGivesEveryFormAndKeepsTheItemAsTheNewest) {
  const std::string rtf = "{\\rtf1\\ansi {\\b picked} entry\\par}";
  const std::string html =
      "Version:0.9\r\nStartHTML:-1\r\nEndHTML:-1\r\nSourceURL:https://origin.example/page\r\n<b>picked</b> entry";
  auto handler = Start();
  ASSERT_TRUE(PutRichCopy(rtf, html, L"picked entry"));
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return handler->GetItemCount() == 1; }, 10000));
  CCHItem* item = handler->GetItem(0);
  ASSERT_EQ(item->kind, kHistoryKindRtf);
  ASSERT_TRUE(item->HasHtml(true));
  EXPECT_EQ(item->sourceUrl, L"https://origin.example/page");
  ASSERT_TRUE(WaitSaved(item));
  item->SetProtected(true);
  const std::wstring key = item->key, data = item->dataPath, htmlFile = item->GetHtml()->dataPath;
  ASSERT_TRUE(Exists(htmlFile));
  Copy(*handler, L"something else");

  ASSERT_TRUE(handler->CopyItemToClipboard(1));
  EXPECT_EQ(ClipboardBytes(RegisterClipboardFormatW(L"Rich Text Format")), rtf);
  EXPECT_EQ(ClipboardBytes(RegisterClipboardFormatW(L"HTML Format")), html);
  ASSERT_TRUE(qlrtest::PumpUntil([&] { return handler->GetItem(0) == item; }, 10000));
  Pump(300);
  EXPECT_EQ(handler->GetItemCount(), 2);
  EXPECT_EQ(item->key, key);
  // Written again as the newest, with every form, and the old files gone.
  ASSERT_TRUE(WaitSaved(item));
  ASSERT_TRUE(item->HasHtml(true));
  EXPECT_TRUE(Exists(item->dataPath));
  EXPECT_TRUE(Exists(item->GetHtml()->dataPath));
  EXPECT_FALSE(Exists(data));
  EXPECT_FALSE(Exists(htmlFile));
  EXPECT_EQ(Descriptors().size(), 2u);
  EXPECT_TRUE(item->IsProtected());
  EXPECT_EQ(item->sourceUrl, L"https://origin.example/page");

  // The same rich text again, without HTML: the newer copy takes the older
  // one's place with its protection, number, HTML and source URL.
  const std::uint32_t number = item->number;
  Copy(*handler, L"in between");
  ASSERT_TRUE(PutRichCopy(rtf, std::string(), L"picked entry"));
  ASSERT_TRUE(qlrtest::PumpUntil(
      [&] { return handler->GetItem(0)->kind == kHistoryKindRtf && handler->GetItem(0)->key != key; }, 10000));
  CCHItem* newer = handler->GetItem(0);
  EXPECT_EQ(handler->GetItemCount(), 3);
  EXPECT_EQ(newer->number, number);
  EXPECT_TRUE(newer->IsProtected());
  EXPECT_EQ(newer->sourceUrl, L"https://origin.example/page");
  ASSERT_TRUE(newer->HasHtml(true));
  ASSERT_TRUE(WaitSaved(newer));
  EXPECT_EQ(qlrtest::ReadBytes(newer->GetHtml()->dataPath).substr(0, html.size()), html);
}

}  // namespace

namespace {

bool HasUpper(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// An edited entry is put back as edited in every form it keeps: a rich
// text's plain text follows it, HTML (and the RTF of a text entry) cannot
// and goes, from the entry and from disk once the edit is saved; after a
// restart the entry comes back with the edited forms only.
TEST_F(HandlerStoreTest, AnEditedEntryKeepsOnlyFormsThatSayWhatItSays) {
  const std::string html =
      "Version:0.9\r\nStartHTML:-1\r\nEndHTML:-1\r\nSourceURL:https://origin.example/e\r\n<b>mixed</b> words";
  struct Case {
    const char* name;
    std::string rtf;
    int kind;
  };
  SetHiddenRichEditParent(parent.hwnd);
  for (const Case& c : {Case{"rich text with HTML", "{\\rtf1\\ansi {\\b mixed} words\\par}", kHistoryKindRtf},
                        Case{"text with HTML", "", kHistoryKindUnicode}}) {
    SCOPED_TRACE(c.name);
    for (const auto& name : Descriptors()) DeleteHistoryFile(folder.File(name));
    auto handler = Start();
    ASSERT_TRUE(PutRichCopy(c.rtf, html, L"mixed words"));
    ASSERT_TRUE(qlrtest::PumpUntil([&] { return handler->GetItemCount() > 0 && handler->GetItem(0)->HasHtml(true); },
                                   10000));
    CCHItem* item = handler->GetItem(0);
    ASSERT_EQ(item->kind, c.kind);
    ASSERT_TRUE(WaitSaved(item));
    item->SetProtected(true);
    const std::wstring oldData = item->dataPath, oldHtml = item->GetHtml()->dataPath;
    ASSERT_TRUE(handler->ChangeItemCase(true, 0));
    EXPECT_FALSE(item->HasHtml(true));
    ASSERT_TRUE(handler->CopyItemToClipboard(0));
    EXPECT_EQ(ClipboardBytes(RegisterClipboardFormatW(L"HTML Format")), "");
    EXPECT_EQ(ClipboardText().substr(0, 11), L"MIXED WORDS");
    if (c.kind == kHistoryKindRtf) {
      std::string rtf = ClipboardBytes(RegisterClipboardFormatW(L"Rich Text Format"));
      EXPECT_TRUE(HasUpper(rtf, "MIXED") && HasUpper(rtf, "WORDS")) << rtf;
    }
    // The edit is saved after a second of quiet; then the old files go.
    ASSERT_TRUE(qlrtest::PumpUntil([&] { return item->storedState == kStoredSaved; }, 10000));
    EXPECT_FALSE(Exists(oldData));
    EXPECT_FALSE(Exists(oldHtml));
    ASSERT_EQ(Descriptors().size(), 1u);
    const std::wstring info = folder.File(Descriptors()[0]);
    EXPECT_EQ(IniReadString(info, L"Files", L"File1"), L"");
    handler.reset();

    auto again = Start();
    ASSERT_EQ(again->GetItemCount(), 1);
    EXPECT_FALSE(again->GetItem(0)->HasHtml(true));
    EXPECT_TRUE(again->GetItem(0)->IsProtected());
    EXPECT_EQ(again->GetHistoryItemFullText(0).substr(0, 11), L"MIXED WORDS");
    again->GetItem(0)->SetProtected(false);
  }
}

std::atomic<int> g_throws{0};
void ThrowingStep() {
  ++g_throws;
  throw std::bad_alloc();
}

// Save and load threads that end on an error: the window hears of their
// end, the items are written by the next save, the load fails alone, and
// saving, loading and clearing go on with nothing lost.
TEST_F(HandlerStoreTest, ThreadsEndingOnAnErrorLoseNothing) {
  {
    auto handler = Start();
    SetBeforeHistoryItemSaveHook(&ThrowingStep);
    const int throws = g_throws;
    CCHItem* first = Copy(*handler, L"first");
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return g_throws > throws; }, 10000));
    SetBeforeHistoryItemSaveHook(nullptr);
    ASSERT_TRUE(qlrtest::PumpUntil([&] { return !handler->IsSavePending(*first); }, 10000));
    EXPECT_EQ(first->storedState, kStoredNot);
    CCHItem* second = Copy(*handler, L"second");
    EXPECT_TRUE(WaitSaved(second));
    EXPECT_TRUE(WaitSaved(first));
  }
  EXPECT_EQ(Descriptors().size(), 2u);
  {
    SetBeforeHistoryLoadHook(&ThrowingStep);
    const int throws = g_throws;
    auto handler = std::make_unique<CQLRWndClipboardHandler>();
    handler->SetOptions(options);
    ASSERT_TRUE(handler->Create(parent.hwnd, kHandlerId, false));
    EXPECT_TRUE(qlrtest::PumpUntil([&] { return g_throws > throws; }, 10000));
    SetBeforeHistoryLoadHook(nullptr);
    EXPECT_TRUE(WaitSaved(Copy(*handler, L"third")));
  }
  auto handler = Start();
  EXPECT_EQ(HeldTexts(*handler), (Texts{L"third", L"second", L"first"}));
  const ULONGLONG start = GetTickCount64();
  EXPECT_TRUE(handler->ClearHistory());
  // Right after the load's merge the clear may wait for the load's end.
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return handler->GetItemCount() == 0; }, 10000));
  EXPECT_LT(GetTickCount64() - start, 10000u);
  handler.reset();
  EXPECT_TRUE(Descriptors().empty());
  // A clear asked for around a load that failed is not left waiting for it.
  SetBeforeHistoryLoadHook(&ThrowingStep);
  const int throws = g_throws;
  handler = std::make_unique<CQLRWndClipboardHandler>();
  handler->SetOptions(options);
  ASSERT_TRUE(handler->Create(parent.hwnd, kHandlerId, false));
  Copy(*handler, L"fourth");
  EXPECT_TRUE(handler->ClearHistory());
  EXPECT_TRUE(qlrtest::PumpUntil([&] { return handler->GetItemCount() == 0; }, 10000));
  EXPECT_GT(g_throws, throws);
  SetBeforeHistoryLoadHook(nullptr);
}

}  // namespace

#include "foundation/system/shared_records.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CMenuRecord Command(const wchar_t* caption, std::uint32_t id) {
  CMenuRecord r;
  std::wstring text = caption;
  CMenuRecord::CopyText(r.caption, CMenuRecord::kCaptionChars, text.c_str(), text.size(), 120);
  r.CMDID = id;
  return r;
}

TEST(MenuRecordTest, GroupsOwnAndMoveTheirChildren) {
  CMenuRecord group = Command(L"Group", 0);
  EXPECT_FALSE(group.IsGroup());
  EXPECT_TRUE(group.GetChildren().empty());
  group.children = new std::vector<CMenuRecord>();
  group.children->push_back(Command(L"one", 5));
  group.children->push_back(Command(L"two", 6));
  EXPECT_TRUE(group.IsGroup());

  CMenuRecord moved(std::move(group));
  EXPECT_FALSE(group.IsGroup());
  ASSERT_EQ(moved.GetChildren().size(), 2u);
  EXPECT_EQ(std::wstring(moved.GetChildren()[1].caption), L"two");
  EXPECT_EQ(moved.GetChildren()[1].CMDID, 6u);

  CMenuRecord target = Command(L"other", 1);
  target.children = new std::vector<CMenuRecord>(3);
  target = std::move(moved);  // the old children of target are freed
  EXPECT_EQ(std::wstring(target.caption), L"Group");
  EXPECT_EQ(target.GetChildren().size(), 2u);

  target.FreeChildren(true);
  EXPECT_FALSE(target.IsGroup());
}

TEST(MenuRecordTest, TextsAreCutToTheirFieldsWithoutSplittingAPair) {
  struct {
    std::wstring text;
    size_t max;
    int field;
    std::wstring expected;
  } cases[] = {
      {L"short", 60, CMenuRecord::kCaptionChars, L"short"},
      {std::wstring(200, L'x'), 500, CMenuRecord::kCaptionChars, std::wstring(120, L'x')},
      {std::wstring(70, L'y'), 60, CMenuRecord::kCaptionChars, std::wstring(60, L'y')},
      {L"ab\U0001F600", 3, CMenuRecord::kCaptionChars, L"ab"},
      {L"ab\U0001F600", 4, CMenuRecord::kCaptionChars, L"ab\U0001F600"},
      {std::wstring(2000, L'h'), 512, CMenuRecord::kTooltipChars, std::wstring(512, L'h')},
      {std::wstring(2000, L'h'), 5000, CMenuRecord::kTooltipChars, std::wstring(1024, L'h')},
  };
  for (const auto& c : cases) {
    wchar_t field[CMenuRecord::kTooltipChars];
    CMenuRecord::CopyText(field, c.field, c.text.c_str(), c.text.size(), c.max);
    EXPECT_EQ(std::wstring(field), c.expected);
  }
}

}  // namespace

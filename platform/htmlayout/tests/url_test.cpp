#include "platform/htmlayout/url.h"

#include <gtest/gtest.h>

#include "platform/htmlayout/tests/outline.h"

namespace {

TEST(UrlTest, ResolvesAgainstPathsAndUrls) {
  const struct {
    const wchar_t* base;
    const wchar_t* ref;
    const wchar_t* resolved;
  } cases[] = {
      // Windows paths resolve like URLs: the base's last part is replaced.
      {L"C:\\app\\HTML\\de\\", L"ext_style.css", L"C:\\app\\HTML\\de\\ext_style.css"},
      {L"C:\\app\\HTML\\img", L"img/external.png", L"C:\\app\\HTML\\img\\external.png"},
      {L"C:\\app\\HTML\\de\\", L"../ext_style.css", L"C:\\app\\HTML\\ext_style.css"},
      {L"C:\\app\\HTML\\de\\", L"./a/./b/../c.png", L"C:\\app\\HTML\\de\\a\\c.png"},
      {L"C:\\app\\", L"../../../x.css", L"C:\\x.css"},
      {L"C:\\app\\HTML\\", L"/root.css", L"C:\\root.css"},
      {L"C:\\app\\HTML\\", L"D:\\other\\x.css", L"D:\\other\\x.css"},
      {L"\\\\srv\\share\\app\\", L"../../x.css", L"\\\\srv\\share\\x.css"},
      {L"C:\\app\\page.html", L"#top", L"C:\\app\\page.html#top"},
      {L"C:\\app\\", L"sub/", L"C:\\app\\sub\\"},
      // URLs.
      {L"http://h.test/a/b.html", L"c.css", L"http://h.test/a/c.css"},
      {L"http://h.test/a/b.html", L"../../../c.css", L"http://h.test/c.css"},
      {L"http://h.test/a/b.html", L"/c.css?x=1#f", L"http://h.test/c.css?x=1#f"},
      {L"http://h.test/a/b.html?q#f", L"#news", L"http://h.test/a/b.html?q#news"},
      {L"http://h.test", L"c.css", L"http://h.test/c.css"},
      {L"https://h.test/a/", L"//cdn.test/x.css", L"https://cdn.test/x.css"},
      {L"http://h.test/a/", L"mailto:x@h.test", L"mailto:x@h.test"},
      // Nothing to resolve against.
      {L"", L"ext_style.css", L"ext_style.css"},
      {L"C:\\app\\", L"", L"C:\\app\\"},
      {L"not a base", L"x.css", L"x.css"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hl::ResolveUrl(c.base, c.ref), c.resolved) << Narrow(c.base) << " + " << Narrow(c.ref);
  }
}

}  // namespace

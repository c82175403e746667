// Pages as the update dialog and the welcome window build them, to load
// into the view in tests.
#pragma once
#include <string>

namespace hlpages {

// The update page: upper-case dialect, unquoted values, the settings table
// with its checkbox widget and number input, one news item and the footer.
inline std::string UpdatePage(bool autoCheck, int days) {
  const std::string label = "<SPAN ID=cfu_days_text>Check every days</SPAN>";
  const std::string hint =
      "Automatic check runs silently.\r It reports only a new version.\r";
  std::string page =
      "<html><head><style>body {font-face: Trebuchet MS; font-size: 11px; margin: 5px;} "
      "#div_hor {flow: horizontal; text-align: left;} h1 {color: green;} #promo { width: 90%%;}</style>"
      "<BASE TARGET=_blank><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"></head>";
  page += "<STYLE>\n#id_item_title {color: green;}\n#id_item_date {color: darkgray;}\n</STYLE>\n";
  page +=
      "<BODY BGCOLOR=#FFFFFF LEFTMARGIN=5 RIGHTMARGIN=5 TOPMARGIN=5 BOTTOMMARGIN=5>"
      "<tabLE width=100% bgCOLOR=#FFFFFF  Cellpadding=5 BORDER=0 HEIGHT=100%><tr><td VALIGN=TOP COLSPAN=4>"
      "<STRONG><FONT SIZE=+1>You use the latest version of Quillora</FONT></STRONG><BR><BR>"
      "Your version of Quillora: <STRONG>2.60 build 7</STRONG> (Dec  9 2026)<BR><BR>"
      "Quillora version on Web Site: <STRONG>2.60 build 7</STRONG><BR>This version released: "
      "<STRONG>2026-12-01</STRONG><BR>"
      "<A HREF=\"http://example.test/history.html\">What`s news in this version</A>|"
      "<A HREF=\"#latest_news\">Latest News</A><BR>"
      "&nbsp;&bull;&nbsp;<A HREF=\"http://example.test/faq.shtml#portable\">Also You can use portable version of Quillora</A><BR>"
      "<BR><SPAN ID=hint>Last Check For Updates: 09.12.2026 03:00</SPAN><BR>"
      "<TABLE BORDER=0 WIDTH=100%><TR><TD ID=settings><TABLE BORDER=0 CELLPADDING=5><TR><TD>"
      "<H2>Settings</H2><TD ALIGN=LEFT>"
      "<widget type=\"checkbox\" ";
  if (autoCheck) page += " checked=true";
  page += " ID=\"CFUAutoCheck\" TITLE =\"" + hint + "\"><STRONG>Check for updates automatically</STRONG></widget>";
  page += "<DIV ID=div_hor>" + label + " <INPUT type=\"number\"  ID=\"CFUDaysNumber\"  Title=\"" + label +
          "\" NoValue=\"" + label + "\" step=\"1\" maxvalue=\"30\" minvalue=\"1\" size=3 Value=\"" +
          std::to_string(days) + "\"></INPUT></DIV>";
  page += "</TD></TR><TR><TD COLSPAN=2>" + hint + "</TD></TD></TABLE></TABLE>";
  page +=
      "<A NAME=\"latest_news\"></A><H1>Latest News (1)</H1>"
      "<DIV ID=\"id_item_desc\"><H3 ID=\"id_item_title\"><A HREF=\"http://example.test/n1\" "
      "TITLE=\"Release 'two'\">Release \"two\"</A><BR><SPAN ID=\"id_item_date\">Mon, 07 Dec 2026</SPAN></H3>\n"
      "<p>Fixed <b>bugs<p>More <i>fixes</i>\n<BR>\n<SPAN ID=\"id_item_author\">The team</SPAN></DIV>"
      "\n<TABLE ALIGN=CENTER WIDTH=100%><TR><TD VALIGN=BOTTOM ALIGN=CENTER WIDTH=25%>"
      "<A HREF=\"http://example.test/forum\">Official Forum</A>"
      "\n<TD VALIGN=BOTTOM ALIGN=CENTER WIDTH=25%><A HREF=\"http://example.test/social\" "
      "TITLE=\"Visit to Facebook group\"><IMG WIDTH=16 SRC=http://example.test/f.png BORDER=0 HSPACE=2>Facebook</A>"
      "\n<TD VALIGN=BOTTOM  ALIGN=CENTER WIDTH=25%><A HREF=\"http://example.test/news.xml\">RSS</A>"
      "\n<TD VALIGN=BOTTOM ALIGN=CENTER WIDTH=25%><DIV ALIGN=CENTER>"
      "<A HREF=\"http://example.test/\">Official Web Site</A></DIV></TABLE>"
      "</table></BODY></html>";
  return page;
}

// The update page with items news items in all (the first is the one above).
inline std::string UpdatePageWithNews(int items) {
  std::string page = UpdatePage(true, 7);
  std::string more;
  for (int i = 2; i <= items; ++i) {
    more += "\n<BR>\n<DIV ID=\"id_item_desc\"><H3 ID=\"id_item_title\"><A HREF=\"http://example.test/n" +
            std::to_string(i) + "\">News " + std::to_string(i) +
            "</A><BR><SPAN ID=\"id_item_date\">Mon, 07 Dec 2026</SPAN></H3>\nA description with <b>markup</b> "
            "and a longer sentence that wraps over the width of the view at least once or twice.\n<BR>\n"
            "<SPAN ID=\"id_item_author\">The team</SPAN></DIV>";
  }
  page.insert(page.find("\n<TABLE ALIGN=CENTER"), more);
  return page;
}

// The welcome page's structure: a style sheet link in the head, the link
// row, the two columns with command links and the version corner.
inline std::string WelcomePage() {
  return "\xEF\xBB\xBF<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"ext_style.css\">"
         "<title>Welcome to Quillora</title></head><body><H2>Welcome</H2>"
         "<DIV>Quillora pastes phrases.</DIV>"
         "<DIV id=\"div_links\"><a href=\"http://example.test/\">Home</a> | "
         "<a href=\"http://example.test/rss\" target=\"_blank\">RSS</a> | "
         "<a href=\"http://example.test/subscribe\" target=\"_blank\">Subscribe</a></DIV>"
         "<DIV id=\"div_col_left\"><DIV id=\"hint\"><a href=\"http://example.test/video\">Video</a></DIV>"
         "<DIV id=\"hotkey\">Hotkey: Ctrl+Q</DIV>"
         "<p><a class=\"qlrLink\" href=\"%CMD_SHOW_CMD_LINE%\">Command line</a>, "
         "<a class=qlrLink href=\"%CMD_SHOW_TRAY_MENU%\"><b>tray menu</b></a>, "
         "<a class=qlrLink href=\"%CMD_START_EDITOR%\">editor</a></DIV>"
         "<DIV id=\"div_col_right\"><ul><li>Macros like <SPAN id=\"macro\">%DATE%</SPAN>"
         "<li>Updates: <a class=qlrLink href=\"%CMD_CHECK_FOR_UPDATES%\">check</a></ul></DIV>"
         "<DIV id=\"ver_welcome_info\">v.2.60 build 7</DIV></body></html>";
}

}  // namespace hlpages

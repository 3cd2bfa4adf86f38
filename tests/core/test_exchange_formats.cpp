#include "exchange/ClipFormats.h"
#include "exchange/DropEffect.h"
#include "model/HVFolder.h"

#include <gtest/gtest.h>

namespace hv {
namespace {

std::string Utf16Le(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(ClipFormatsTest, MozUrlFromFirefoxAndNetscapeUrlKeepUrlAndTitle) {
    TDroppedLink link = ParseMozUrl(Utf16Le(u"https://example.com/\nExample Domain 日本"));
    EXPECT_EQ(link.URL, "https://example.com/");
    EXPECT_EQ(link.Title, "Example Domain 日本");
    // Several links: the first; a NUL ends the text.
    link = ParseMozUrl(Utf16Le(std::u16string(u"http://a/\nA\nhttp://b/\nB") + u'\0' + u"junk"));
    EXPECT_EQ(link.URL, "http://a/");
    EXPECT_EQ(link.Title, "A");
    EXPECT_EQ(ParseMozUrl(std::string("\xFE\xFF\0h\0\n\0T", 8)).Title, "T");
    // Without zero bytes it is UTF-8; a URL alone has no title.
    EXPECT_EQ(ParseMozUrl("http://u/\r\nTitle\r\n").Title, "Title");
    EXPECT_EQ(ParseMozUrl("http://u/").Title, "");
    EXPECT_EQ(ParseMozUrl(Utf16Le(u"\nTitle")).Title, "");
    // Netscape's own form: URL and title on two lines.
    link = ParseNetscapeUrl("http://n/\nNet\tscape\n");
    EXPECT_EQ(link.URL, "http://n/");
    EXPECT_EQ(link.Title, "Net scape");
}

TEST(ClipFormatsTest, UriListSeparatesLinksFromLocalFiles) {
    const TUriList list = ParseUriList("# comment\r\nhttps://a/\r\nfile:///home/u/My%20Link.url\r\n"
                                       "file://localhost/tmp/x.desktop\r\nfile://other/tmp/y.url\r\n"
                                       "mailto:a@b\r\nFTP://f/\r\nfile:/tmp/z.url");
    EXPECT_EQ(list.Links, (std::vector<std::string>{"https://a/", "FTP://f/"}));
    EXPECT_EQ(list.Files, (std::vector<std::string>{"/home/u/My Link.url", "/tmp/x.desktop", "/tmp/z.url"}));
}

TEST(ClipFormatsTest, OfferedTextsListEveryItem) {
    THVFolder root;
    THVItem* a = root.List().Add("A");
    a->SetURL("http://a/");
    THVItem* b = root.List().Add("B");
    THVItem* c = root.List().Add("C");
    c->SetURL("http://c/");
    const std::vector<const THVItem*> items{a, b, c};
    EXPECT_EQ(BuildMozUrlText(items), "http://a/\nA\n\nB\nhttp://c/\nC");
    EXPECT_EQ(BuildUriList(items), "http://a/\r\nhttp://c/\r\n");
    EXPECT_EQ(BuildUrlText(items), "http://a/\nhttp://c/");
}

TEST(ClipFormatsTest, OwnDataIsUtf8Records) {
    THVFolder root;
    root.List().Add("日本")->SetURL("http://jp/");
    const std::string bytes = BuildOwnData({root.List().Items(0)});
    EXPECT_TRUE(bytes.starts_with("[Item]\r\nTitle=日本\r\n")) << bytes;
    EXPECT_EQ(DecodeOwnData(bytes + std::string(2, '\0')), bytes);
}

TEST(ClipFormatsTest, BrowserWindowClasses) {
    for (const char* wmClass :
         {"Navigator Firefox", "chromium Chromium", "google-chrome Google-chrome", "brave-browser Brave-browser",
          "vivaldi-stable Vivaldi-stable", "opera Opera", "epiphany Epiphany", "firefox-esr Firefox-esr"}) {
        EXPECT_TRUE(IsBrowserWindowClass(wmClass)) << wmClass;
    }
    for (const char* wmClass : {"", "org.gnome.Nautilus Org.gnome.Nautilus", "hollyvine Hollyvine", "xterm XTerm"}) {
        EXPECT_FALSE(IsBrowserWindowClass(wmClass)) << wmClass;
    }
}

} // namespace
} // namespace hv

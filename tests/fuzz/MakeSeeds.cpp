// Writes the seed corpora of the fuzz targets: hvfuzz_seeds DIR writes DIR/TARGET/NAME files,
// small inputs made with the program's own writers and the tests' builders. The committed
// corpora under tests/fuzz/corpus come from here (hvtool_json's seed is "hvtool dump" of the
// document seed plain.hv); run it again after a format changes.

#include "IconFileBuilder.h"
#include "document/DocumentFile.h"
#include "document/ViewState.h"
#include "importexport/ExpBm.h"
#include "importexport/Shortcut.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "settings/RegFile.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <lz4.h>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace hv;

fs::path g_Root;

void Seed(const std::string& target, const std::string& name, std::string_view bytes) {
    const fs::path dir = g_Root / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

// A small tree with every kind of value: nested folders, a memo, a visit, an icon, commands,
// a schedule, Japanese text and a kept byte.
std::unique_ptr<THVFolder> SampleTree() {
    auto root = std::make_unique<THVFolder>("Hollyvine");
    THVItem* item = root->List().Add("Example");
    item->SetURL("http://example.com/?a=1&b=2");
    item->SetMemo("line one\r\n\"quoted\", line");
    item->SetLastVisited(EncodeDateTime(2024, 3, 5, 7, 5));
    item->SetIconRaw("/usr/share/icons/a.ico", 2);
    item->GetCommands().Add() = {"open", "firefox %s", true};
    item->GetCommands().Add() = {"plain", "\"/opt/my app/run\" --x", false};
    item->SetSchedule("W 1,3,5 8:30 1,0");
    THVFolder* news = root->AddChild("ニュース");
    news->List().Add("日本語のタイトル")->SetURL("https://example.jp/");
    news->AddChild("深い")->List().Add("kept \xEF\x9E\x82 byte")->SetSchedule("M 1,15 0:00 30,0");
    root->AddChild("Empty")->SetExpanded(false);
    return root;
}

std::string MozLz4(const std::string& json) {
    std::string block(static_cast<std::size_t>(LZ4_compressBound(static_cast<int>(json.size()))), '\0');
    const int n =
        LZ4_compress_default(json.data(), block.data(), static_cast<int>(json.size()), static_cast<int>(block.size()));
    std::string bytes("mozLz40\0", 8);
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((json.size() >> (8 * i)) & 0xFF);
    }
    return bytes + block.substr(0, static_cast<std::size_t>(n));
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: hvfuzz_seeds DIR\n";
        return 2;
    }
    g_Root = argv[1];
    const auto tree = SampleTree();
    THVFolder emoji("Hollyvine");
    emoji.List().Add("😀 outside CP932")->SetURL("http://e/");

    const std::string plain = BuildDocumentBytes(*tree, "");
    Seed("document", "plain.hv", plain);
    Seed("document", "password.hv", BuildDocumentBytes(*tree, "secret"));
    Seed("document", "utf8.hv", BuildDocumentBytes(*tree, "", true));
    Seed("document", "utf8-password.hv", BuildDocumentBytes(emoji, "pw"));
    Seed("document", "version2-header.hv", "# Hollyvine Document 2\r\nPassword=\r\n\r\n[Item]\r\nTitle=a\r\n\r\n");

    const std::string utf8 = BuildDocumentBytes(*tree, "", true);
    const std::string body = utf8.substr(utf8.find("\r\n\r\n") + 4);
    Seed("records", "records.txt", body);
    Seed("records", "levels.txt",
         "[Folder]\r\nLevel=1\r\nName=Sub\r\n\r\n[Folder]\r\nLevel=2\r\nName=a\\b\r\n\r\n"
         "[Item]\r\nTitle=same\r\nURL=http://example.com/\r\nLastVisited=2030/1/1 0:00\r\n\r\n");

    const std::string bookmarks = BuildBookmarkFile(*tree, {});
    Seed("bookmarks", "export.html", bookmarks);
    Seed("bookmarks", "firefox.html",
         "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
         "charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks Menu</H1>\n<DL><p>\n    <DT><H3 "
         "ADD_DATE=\"1\">Toolbar</H3>\n    <DL><p>\n        <DT><A HREF=\"https://a/?x=1&amp;y=2\" "
         "LAST_VISIT=\"1700000000\">A &amp; B</A>\n        <DD>memo<BR>two\n    </DL><p>\n</DL>\n");
    Seed("html_tokenizer", "export.html", bookmarks);
    Seed("html_tokenizer", "page.html",
         "<html><head><meta charset=\"shift_jis\"><script>if (a < b) {}</script></head>\n<body "
         "onload='x(\\'y\\')'><!-- c --><a href=x>t</a><br/><p class=a b=\"c\">&amp;</p></body></html>");
    Seed("link_import", "links.html",
         "<html><body><a href=\"http://a/\">A<b>bold</b></a>\n<A HREF='ftp://f/'>F</A><a "
         "href=\"mailto:m\">M</a><a href=\"/rel\">R</a></body></html>");
    Seed("link_import", "export.html", bookmarks);

    Seed("shortcut", "utf8.url", BuildShortcutFile("http://example.com/ページ"));
    Seed("shortcut", "windows.url",
         "[DEFAULT]\r\nBASEURL=http://b/\r\n[InternetShortcut]\r\nURL=http://a/\r\n"
         "IconIndex=0\r\n");

    TRegistryTree registry = ParseRegFile("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine\\File]\r\n"
                                          "\"SortType\"=dword:00000002\r\n\"Name\"=\"a\\\\b \\\"q\\\"\"\r\n"
                                          "\"Data\"=hex:01,02,ff\r\n\"Path\"=hex(2):25,48,00\r\n");
    Seed("registry", "regedit4.reg", FormatRegFile(registry));
    Seed("registry", "windows5.reg",
         "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\K.Amsel\\"
         "Hollyvine\\Window]\r\n@=\"x\"\r\n\"Long\"=hex:01,\\\r\n  02\r\n\"Gone\"=-\r\n"
         "[-HKEY_CURRENT_USER\\Software\\Old]\r\n; comment\r\n");

    const std::string session =
        R"({"selectedWindow":1,"windows":[{"selected":1,"tabs":[{"index":2,"entries":[{"url":"http://o/"},)"
        R"({"url":"http://p/","title":"Page, \"one\""}]}]}]})";
    Seed("browser", "session.jsonlz4", MozLz4(session));
    Seed("browser", "session.json", session);
    Seed("browser", "debugger.json",
         R"([{"type":"service_worker","url":"x"},{"type":"page","url":"http://d/","title":"D"}])");

    const std::vector<test::TTestIconImage> images = {{16, 16, 32, test::SolidIconImage(16, 0xFF336699)},
                                                      {32, 32, 32, test::SolidIconImage(32, 0xFF996633)}};
    Seed("icons", "two.ico", Text(test::BuildIcoFile(images)));
    Seed("icons", "program.exe", Text(test::BuildPeFile({images, {images[0]}})));
    Seed("icons", "program64.exe", Text(test::BuildPeFile({images}, true)));

    Seed("schedule", "weekdays.txt", "W 1,3,5 8:30 1,0");
    Seed("schedule", "monthdays.txt", "M 1,15,31 23:59 30,23");
    Seed("schedule", "datetime.txt", "2024/3/5 7:05");
    Seed("command_line", "quoted.txt", "\"C:\\Program Files\\a \"\"b\"\".exe\" --x %s");
    Seed("command_line", "plain.txt", "firefox http://example.com/");
    Seed("charrefs", "refs.txt", "&amp;&lt;&#38;&#x26;&copy=2&notit;&#0;&#x110000;&#128;&#xD800;");
    Seed("encodings", "cp932.txt", "\x82\xA0\x82\xA2 \x83\x41 \x81\x5C \xFF\x80\xA0\xED\x40");
    Seed("encodings", "jis.txt", "\x1B$B$\"$$\x1B(B abc \x1B(I1\x1B(B");
    Seed("encodings", "euc.txt", "\xA4\xA2\xA4\xA4 \x8E\xB1 \x8F\xA1\xA1");
    Seed("encodings", "utf8.txt", "あい 😀 \xC3 \xEF\x9E\x82");

    TViewState state;
    state.Selected = 3;
    state.Collapsed = {1, 4};
    Seed("view_state", "state.txt", FormatViewState(state, EncodeDateTime(2024, 3, 5)));
    Seed("view_state", "lf.txt", "selected=2\nCollapsed=1,x,3\n");

    return 0;
}

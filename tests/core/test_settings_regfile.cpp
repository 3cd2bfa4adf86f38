#include "settings/RegFile.h"

#include <gtest/gtest.h>

#include <string>

using namespace hv;
using namespace std::string_literals;

namespace {

constexpr const char* Key = "Software\\K.Amsel\\Hollyvine";

std::optional<TRegValue> Read(const TRegistryTree& tree, const char* path, const char* name) {
    const TRegKeyNode* key = tree.FindKey(path);
    const TRegValue* value = key != nullptr ? key->FindValue(name) : nullptr;
    return value != nullptr ? std::optional<TRegValue>(*value) : std::nullopt;
}

TEST(RegFileTest, ReadsAHandWrittenFileWithUnusualEscapes) {
    const std::string file = "\xEF\xBB\xBFREGEDIT4\r\n"
                             "; written by hand\r\n"
                             "\r\n"
                             "[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine]\r\n"
                             "\"Plain\"=\"a\\\\b \\\"q\\\"\"\r\n"
                             "\"Path\"=\"C:\\temp\\new\"   ; unknown escapes stay, \\n is a line feed\r\n"
                             "  \"Lines\" = \"x\\r\\ny\\0z\"\r\n"
                             "@=\"unnamed\"\r\n"
                             "\"Na\\\"me\"=dword:A\r\n"
                             "\"Long\"=hex:01,02,\\\r\n"
                             "  03,FF\r\n"
                             "\"Expand\"=hex(2):25,48,00\r\n"
                             "\"Multi\"=hex(7):61,00,00\r\n"
                             "\"D4\"=hex(4):01,00,00,00\r\n"
                             "\"Gone\"=\"x\"\r\n"
                             "\"Gone\"=-\r\n"
                             "\"日本語\"=\"値\"\r\n";
    const TRegistryTree tree = ParseRegFile(file);
    EXPECT_EQ(Read(tree, Key, "Plain"), TRegValue::String("a\\b \"q\""));
    EXPECT_EQ(Read(tree, Key, "Path"), TRegValue::String("C:\\temp\new"));
    EXPECT_EQ(Read(tree, Key, "Lines"), TRegValue::String(std::string("x\r\ny\0z", 6)));
    EXPECT_EQ(Read(tree, Key, ""), TRegValue::String("unnamed"));
    EXPECT_EQ(Read(tree, Key, "Na\"me"), TRegValue::DWord(10));
    EXPECT_EQ(Read(tree, Key, "Long"), TRegValue::Binary("\x01\x02\x03\xFF"));
    EXPECT_EQ(Read(tree, Key, "Expand"), TRegValue::ExpandString("%H"));
    EXPECT_EQ(Read(tree, Key, "Multi"), TRegValue::Other(7, std::string("a\0\0", 3)));
    EXPECT_EQ(Read(tree, Key, "D4"), TRegValue::DWord(1));
    EXPECT_EQ(Read(tree, Key, "Gone"), std::nullopt);
    EXPECT_EQ(Read(tree, "software\\k.amsel\\HOLLYVINE", "日本語"), TRegValue::String("値"));
}

TEST(RegFileTest, ReadsTheUnicodeFormOfTheRegistryEditor) {
    const std::u16string text = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine]\r\n"
                                u"\"Name\"=\"ＭＳ Ｐゴシック\"\r\n"
                                u"\"Expand\"=hex(2):25,00,41,00,00,00\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    const TRegistryTree tree = ParseRegFile(bytes);
    EXPECT_EQ(Read(tree, Key, "Name"), TRegValue::String("ＭＳ Ｐゴシック"));
    EXPECT_EQ(Read(tree, Key, "Expand"), TRegValue::ExpandString("%A"));
}

TEST(RegFileTest, KeepsOtherHivesAndRemovesKeysMarkedForRemoval) {
    const TRegistryTree tree = ParseRegFile("REGEDIT4\n"
                                            "[HKEY_LOCAL_MACHINE\\Software\\X]\n\"A\"=\"1\"\n"
                                            "[HKEY_CURRENT_USER\\Software\\Old]\n\"B\"=\"2\"\n"
                                            "[-HKEY_CURRENT_USER\\Software\\Old]\n"
                                            "\"C\"=\"ignored under a removed key\"\n");
    EXPECT_EQ(tree.FindKey("Software\\Old"), nullptr);
    EXPECT_NE(FormatRegFile(tree).find("[HKEY_LOCAL_MACHINE\\Software\\X]\n\"A\"=\"1\"\n"), std::string::npos);
}

TEST(RegFileTest, WritesEveryValueBackAsItWasRead) {
    TMemoryRegistryStore store;
    const std::string odd = "tab\tquote\"back\\slash\r\nnul\0end\xEF\x9E\x80"s; // U+F780 stands for byte 0x80
    store.WriteValue(Key, "Odd \"name\" \\", TRegValue::String(odd));
    store.WriteValue(Key, "", TRegValue::String("default"));
    store.WriteValue(Key, "Number", TRegValue::DWord(0xDEADBEEF));
    store.WriteValue(Key, "Empty", TRegValue::Binary(""));
    store.WriteValue(Key, "Big", TRegValue::Binary(std::string(100, '\x5A')));
    store.WriteValue(Key, "Expand", TRegValue::ExpandString("%HOME%/日本"));
    store.WriteValue(Key, "Qword", TRegValue::Other(0xB, "12345678"));
    store.CreateKey("Software\\Empty\\Leaf");
    const std::string bytes = FormatRegFile(store.Tree());
    EXPECT_TRUE(bytes.starts_with("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Empty\\Leaf]\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\K.Amsel\\Hollyvine]\n\"Odd")); // keys sorted
    EXPECT_NE(bytes.find("\"Number\"=dword:deadbeef\n"), std::string::npos);
    EXPECT_NE(bytes.find(std::string("\"Odd \\\"name\\\" \\\\\"=\"tab\tquote\\\"back\\\\slash\\r\\nnul\\0end\x80\"\n")),
              std::string::npos);
    EXPECT_NE(bytes.find("\"Empty\"=hex:\n"), std::string::npos);
    EXPECT_NE(bytes.find("\"Qword\"=hex(b):31,32,"), std::string::npos);
    for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        EXPECT_LE(end - start, 80u) << "line at " << start;
    }

    const TRegistryTree again = ParseRegFile(bytes);
    EXPECT_EQ(FormatRegFile(again), bytes);
    for (const char* name : {"Odd \"name\" \\", "", "Number", "Empty", "Big", "Expand", "Qword"}) {
        EXPECT_EQ(Read(again, Key, name), store.ReadValue(Key, name)) << name;
    }
    EXPECT_NE(again.FindKey("Software\\Empty\\Leaf"), nullptr);
}

struct TBrokenFile {
    const char* Label;
    const char* Text;
    int Line;
};

class RegFileBrokenTest : public ::testing::TestWithParam<TBrokenFile> {};

TEST_P(RegFileBrokenTest, NamesTheLineOfTheFault) {
    try {
        ParseRegFile(GetParam().Text);
        FAIL() << "read without error";
    } catch (const ERegFileError& e) {
        EXPECT_EQ(e.Line(), GetParam().Line) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegFileBrokenTest,
    ::testing::Values(TBrokenFile{"NoHeader", "[HKEY_CURRENT_USER\\X]\n", 1},
                      TBrokenFile{"OtherHeader", "REGEDIT5\n", 1}, TBrokenFile{"BinaryGarbage", "\x01\x02\x03\xFE", 1},
                      TBrokenFile{"ValueBeforeKey", "REGEDIT4\n\"A\"=\"1\"\n", 2},
                      TBrokenFile{"UnclosedKey", "REGEDIT4\n[HKEY_CURRENT_USER\\X\n", 2},
                      TBrokenFile{"NoHive", "REGEDIT4\n[Software\\X]\n", 2},
                      TBrokenFile{"StrayLine", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\nA=1\n", 3},
                      TBrokenFile{"UnclosedName", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A=\"1\n", 3},
                      TBrokenFile{"NoEquals", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\" \"1\"\n", 3},
                      TBrokenFile{"UnclosedString", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=\"1\n", 3},
                      TBrokenFile{"EscapedLastQuote", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=\"C:\\\"\n", 3},
                      TBrokenFile{"TextAfterString", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=\"1\"x\n", 3},
                      TBrokenFile{"LongDword", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=dword:123456789\n", 3},
                      TBrokenFile{"BadDword", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=dword:xyz\n", 3},
                      TBrokenFile{"BadHex", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=hex:01,,02\n", 3},
                      TBrokenFile{"WideHex", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=hex:123\n", 3},
                      TBrokenFile{"BadHexType", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=hex(q):01\n", 3},
                      TBrokenFile{"ContinuedAtEnd", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=hex:01,\\", 3},
                      TBrokenFile{"ContinuationBroken", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=hex:01,\\\n  zz\n", 4},
                      TBrokenFile{"UnknownType", "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"A\"=qword:1\n", 3}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(RegFileTest, AnEmptyFileIsAnEmptyRegistry) {
    EXPECT_TRUE(ParseRegFile("").Root().SubKeys.empty());
    EXPECT_TRUE(ParseRegFile(" \r\n\n").Root().SubKeys.empty());
}

} // namespace

#include "settings/Hashes.h"
#include "settings/RegHash.h"
#include "settings/RegistryStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace hv;

namespace {

// One row of the conversion table: a key made some way, and what each read gives.
struct TConversionRow {
    const char* Label;
    std::function<void(THashKey&)> Make;
    std::string AsString;
    std::int32_t AsInteger;
    bool AsBoolean;
    std::string AsBinary;
};

class HashKeyConversionTest : public ::testing::TestWithParam<TConversionRow> {};

TEST_P(HashKeyConversionTest, ReadsAsEveryKind) {
    const TConversionRow& row = GetParam();
    THashKey key("K");
    row.Make(key);
    EXPECT_EQ(key.AsString(), row.AsString);
    EXPECT_EQ(key.AsInteger(), row.AsInteger);
    EXPECT_EQ(key.AsBoolean(), row.AsBoolean);
    EXPECT_EQ(key.AsBinary(), row.AsBinary);
}

auto String(const char* s) {
    return [text = std::string(s)](THashKey& key) { key.SetAsString(text); };
}
auto Integer(std::int32_t n) {
    return [n](THashKey& key) { key.SetAsInteger(n); };
}
auto Boolean(bool b) {
    return [b](THashKey& key) { key.SetAsBoolean(b); };
}
auto Binary(std::string bytes) {
    return [bytes](THashKey& key) { key.SetAsBinary(bytes); };
}

INSTANTIATE_TEST_SUITE_P(
    Table, HashKeyConversionTest,
    ::testing::Values(
        TConversionRow{"NewKey", [](THashKey&) {}, "", 0, false, ""},
        TConversionRow{"Number", String("42"), "42", 42, true, "42"},
        TConversionRow{"Negative", String("-7"), "-7", -7, true, "-7"},
        TConversionRow{"NotANumber", String("12a"), "12a", 0, true, "12a"},
        TConversionRow{"TooLarge", String("2147483648"), "2147483648", 0, true, "2147483648"},
        TConversionRow{"LowerNo", String("no"), "no", 0, false, "no"},
        TConversionRow{"CapitalNo", String("No"), "No", 0, false, "No"},
        TConversionRow{"UpperFalse", String("FALSE"), "FALSE", 0, false, "FALSE"},
        TConversionRow{"F", String("f"), "f", 0, false, "f"}, TConversionRow{"N", String("N"), "N", 0, false, "N"},
        TConversionRow{"Zero", String("0"), "0", 0, false, "0"}, TConversionRow{"One", String("1"), "1", 1, true, "1"},
        TConversionRow{"MinusOne", String("-1"), "-1", -1, true, "-1"},
        TConversionRow{"Yes", String("yes"), "yes", 0, true, "yes"},
        TConversionRow{"IntegerZero", Integer(0), "0", 0, false, std::string(4, '\0')},
        TConversionRow{"IntegerTwo", Integer(2), "2", 2, true, std::string("\x02\0\0\0", 4)},
        TConversionRow{"IntegerMinusOne", Integer(-1), "-1", -1, true, "\xFF\xFF\xFF\xFF"},
        TConversionRow{"IntegerLarge", Integer(0x01020304), "16909060", 0x01020304, true, "\x04\x03\x02\x01"},
        TConversionRow{"True", Boolean(true), "1", 1, true, "\xFF"},
        TConversionRow{"False", Boolean(false), "0", 0, false, std::string(1, '\0')},
        TConversionRow{"BinaryEmpty", Binary(""), "", 0, false, ""},
        TConversionRow{"BinaryShort", Binary("\x01\x02"), "\x01\x02", 0x0201, true, "\x01\x02"},
        TConversionRow{"BinaryLong", Binary(std::string("\x01\x00\x00\x80\x05", 5)),
                       std::string("\x01\x00\x00\x80\x05", 5), static_cast<std::int32_t>(0x80000001u), true,
                       std::string("\x01\x00\x00\x80\x05", 5)},
        TConversionRow{"BinaryZeros", Binary(std::string(3, '\0')), std::string(3, '\0'), 0, false,
                       std::string(3, '\0')}),
    [](const auto& info) { return std::string(info.param.Label); });

TEST(HashKeyTest, AssignCopiesTheValueButNotTheName) {
    THashKey key("K");
    key.SetAsBoolean(true);
    THashKey copy("C");
    copy.Assign(&key);
    EXPECT_EQ(copy.Kind(), THashKeyKind::Boolean);
    EXPECT_EQ(copy.Number(), 1);
    EXPECT_EQ(copy.Name(), "C");
    copy.Assign(nullptr);
    EXPECT_EQ(copy.Kind(), THashKeyKind::String);
    EXPECT_EQ(copy.AsString(), "");
}

TEST(HashKeyTest, OnlyAChangedValueCountsAsModified) {
    THashKey key("K");
    key.SetAsString("");
    EXPECT_FALSE(key.Modified());
    key.SetAsInteger(3);
    EXPECT_TRUE(key.Modified());
    key.SetModified(false);
    key.SetAsInteger(3);
    EXPECT_FALSE(key.Modified());
    key.SetAsBoolean(true); // same number, other kind
    EXPECT_TRUE(key.Modified());
}

TEST(HashTest, AutoCreateOffRaisesForAMissingKey) {
    THash hash;
    hash.GetKey("Present").SetAsInteger(1);
    hash.SetAutoCreate(false);
    try {
        hash.GetKey("Missing");
        FAIL() << "no error";
    } catch (const EHashError& e) {
        EXPECT_STREQ(e.what(), "キー 'Missing' が見つかりません");
        EXPECT_STREQ(e.ClassName(), "EHashError");
    }
    EXPECT_EQ(hash.GetCount(), 1);
    EXPECT_EQ(hash["present"].AsInteger(), 1);
}

TEST(HashTest, IgnoreCaseFoldsNonAsciiLettersAndCanBeTurnedOff) {
    THash hash;
    hash.GetKey("Äpfel").SetAsString("a");
    EXPECT_TRUE(hash.Exists("äPFEL"));
    hash.SetIgnoreCase(false);
    EXPECT_FALSE(hash.Exists("äpfel"));
    EXPECT_TRUE(hash.Exists("Äpfel"));
}

TEST(HashTest, AssignReplacesEveryKeyInOrder) {
    THash source;
    source["B"].SetAsInteger(2);
    source["C"].SetAsBinary("\x01");
    THash target;
    target["Old"].SetAsInteger(9);
    target.Assign(&source);
    EXPECT_EQ(target.GetKeyNames(), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(target["C"].Kind(), THashKeyKind::Binary);
}

class RegHashTest : public ::testing::Test {
protected:
    static constexpr const char* Path = "Software\\Test\\File";
    TMemoryRegistryStore m_Store;
};

TEST_F(RegHashTest, EveryOperationOfAClosedTableRaises) {
    TRegHash hash(m_Store, Path);
    const std::vector<std::function<void()>> operations = {[&] { hash.GetCount(); },
                                                           [&] { hash.GetKey("x"); },
                                                           [&] { hash.Clear(); },
                                                           [&] { hash.Delete("x"); },
                                                           [&] { hash.GetKeyNames(); },
                                                           [&] { hash.Exists("x"); },
                                                           [&] { hash.SetKey("x", THashKey()); }};
    for (const auto& operation : operations) {
        try {
            operation();
            ADD_FAILURE() << "no error";
        } catch (const EHashError& e) {
            EXPECT_STREQ(e.what(), "レジストリを開いていません");
        }
    }
    hash.Close(); // closing a closed table is harmless
}

TEST_F(RegHashTest, ReadsByRegistryTypeAndWritesTheCacheOnClose) {
    m_Store.WriteValue(Path, "S", TRegValue::String("text"));
    m_Store.WriteValue(Path, "E", TRegValue::ExpandString("%HOME%"));
    m_Store.WriteValue(Path, "D", TRegValue::DWord(0xFFFFFFFF));
    m_Store.WriteValue(Path, "B", TRegValue::Binary("\x01\x02"));
    m_Store.WriteValue(Path, "M", TRegValue::Other(7, std::string("a\0\0", 3)));
    TRegHash hash(m_Store, Path);
    hash.Open();
    EXPECT_EQ(hash["S"].AsString(), "text");
    EXPECT_EQ(hash["E"].Kind(), THashKeyKind::String);
    EXPECT_EQ(hash["D"].AsInteger(), -1);
    EXPECT_EQ(hash["B"].Kind(), THashKeyKind::Binary);
    EXPECT_EQ(hash["M"].AsString(), ""); // a type the tables do not know leaves the key empty
    hash["New"].SetAsBoolean(true);
    hash["Untouched"];
    hash.Close();
    EXPECT_EQ(m_Store.ReadValue(Path, "New"), TRegValue::DWord(1));
    EXPECT_EQ(m_Store.ReadValue(Path, "Untouched"), TRegValue::String(""));
    EXPECT_EQ(m_Store.ReadValue(Path, "M"), TRegValue::Other(7, std::string("a\0\0", 3)));
    EXPECT_EQ(m_Store.ReadValue(Path, "E"), TRegValue::ExpandString("%HOME%")); // read, not rewritten
}

TEST_F(RegHashTest, AutoCreateOffMissingKeyCountDeleteAndClear) {
    m_Store.WriteValue(Path, "A", TRegValue::String("1"));
    TRegHash hash(m_Store, Path);
    hash.SetAutoCreate(false);
    hash.Open();
    EXPECT_THROW(hash.GetKey("B"), EHashError);
    hash.SetAutoCreate(true);
    hash["B"].SetAsInteger(2);
    EXPECT_EQ(hash.GetCount(), 2); // the cache is written first
    EXPECT_TRUE(hash.Delete("A"));
    EXPECT_FALSE(hash.Exists("A"));
    EXPECT_EQ(hash.GetKeyNames(), std::vector<std::string>{"B"});
    hash.Clear();
    EXPECT_EQ(hash.GetCount(), 0);
    m_Store.DeleteKey(Path);
    try {
        hash.GetCount();
        FAIL() << "no error";
    } catch (const EHashError& e) {
        EXPECT_STREQ(e.what(), "キーの数を取得できません");
    }
}

} // namespace

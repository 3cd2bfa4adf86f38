// The name index of an item list against a plain count over the list, through many random
// additions, renames and removals (the removals reorder the index's runs of entries).

#include "document/RecordReader.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/NameIndex.h"
#include "text/TextUtil.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace hv;

namespace {

std::size_t PlainCount(const THVList& list, const std::string& name) {
    std::size_t n = 0;
    for (const auto& item : list) {
        n += AsciiLowerCase(item->GetName()) == AsciiLowerCase(name) ? 1 : 0;
    }
    return n;
}

} // namespace

TEST(NameIndex, AgreesWithTheListThroughRandomEdits) {
    THVFolder folder("f");
    THVList& list = folder.List();
    std::mt19937 random(7);
    // Few distinct names, in two letter cases, so that runs of equal names form and break up.
    auto randomName = [&random] {
        const int n = static_cast<int>(random() % 40);
        return std::string(random() % 2 != 0 ? "Name" : "NAME") + std::to_string(n);
    };
    for (int step = 0; step < 20000; ++step) {
        const unsigned op = random() % 10;
        if (op < 5 || list.Count() == 0) {
            list.Add(randomName());
        } else if (op < 7) {
            list.Items(static_cast<int>(random() % static_cast<unsigned>(list.Count())))->SetName(randomName());
        } else {
            list.Delete(static_cast<int>(random() % static_cast<unsigned>(list.Count())));
        }
        if (step % 97 == 0) {
            for (int n = 0; n < 40; ++n) {
                const std::string name = "name" + std::to_string(n);
                ASSERT_EQ(list.CountOfName(name), PlainCount(list, name)) << "step " << step;
                THVItem* found = list.FindByName(name);
                const int index = list.IndexOfName(name);
                ASSERT_EQ(found == nullptr, PlainCount(list, name) == 0);
                if (found != nullptr) {
                    // The highest index among equals.
                    for (int i = index + 1; i < list.Count(); ++i) {
                        ASSERT_NE(AsciiLowerCase(list.Items(i)->GetName()), AsciiLowerCase(name));
                    }
                    ASSERT_EQ(list.Items(index), found);
                }
            }
        }
    }
    list.Clear();
    EXPECT_EQ(list.CountOfName("name1"), 0u);
    EXPECT_EQ(list.FindByName("name1"), nullptr);
}

TEST(NameIndex, ReadingGivesTheNamesThatAddingOneByOneGives) {
    // Names that clash in every way: equal, equal but for case, already carrying "~n".
    const char* const pool[] = {"a", "A", "a~1", "a~2", "A~1", "b", "a~1~1", "b~3", "(Untitled)", "a~10"};
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        THVFolder expected("Hollyvine");
        std::string text;
        // Some items sit in the folder before the read, as when a document is merged in.
        THVFolder actual("Hollyvine");
        const int before = static_cast<int>(random() % 3);
        for (int i = 0; i < before; ++i) {
            const char* name = pool[random() % std::size(pool)];
            MakeUniqueName(*expected.List().Add(name));
            MakeUniqueName(*actual.List().Add(name));
        }
        const int count = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            const char* name = pool[random() % std::size(pool)];
            MakeUniqueName(*expected.List().Add(name));
            text += std::string("[Item]\r\nTitle=") + name + "\r\nURL=\r\n\r\n";
        }
        ReadRecords(text, actual);
        ASSERT_EQ(actual.List().Count(), expected.List().Count());
        for (int i = 0; i < expected.List().Count(); ++i) {
            ASSERT_EQ(actual.List().Items(i)->GetName(), expected.List().Items(i)->GetName()) << "round " << round;
        }
        // The index built afterwards knows the new names.
        for (const auto& item : expected.List()) {
            ASSERT_EQ(actual.List().CountOfName(item->GetName()), 1u);
        }
    }
}

TEST(NameIndex, HashesAlikeExactlyTheNamesThatDifferInAsciiCaseOnly) {
    const std::string base = "abcdefghijklmnopqrstuvwxyz@[`{";
    for (std::size_t length = 1; length <= base.size(); ++length) {
        const std::string lower = base.substr(0, length);
        std::string upper = lower;
        for (char& c : upper) {
            c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        }
        EXPECT_EQ(TNameIndex::Hash(lower), TNameIndex::Hash(upper)) << lower;
    }
    // "@[`{" sit next to the letters and are no case pair; bytes of UTF-8 characters whose low
    // seven bits spell a capital ("Ã" is C3 83, "ã" C3 A3; 0xC1 looks like 'A' + 0x80) stay apart.
    EXPECT_NE(TNameIndex::Hash("@"), TNameIndex::Hash("`"));
    EXPECT_NE(TNameIndex::Hash("["), TNameIndex::Hash("{"));
    EXPECT_NE(TNameIndex::Hash("\xC3\x83"), TNameIndex::Hash("\xC3\xA3"));
    EXPECT_NE(TNameIndex::Hash("x\xC1y"), TNameIndex::Hash("x\xE1y"));
    EXPECT_NE(TNameIndex::Hash("ab"), TNameIndex::Hash(std::string("ab\0", 3)));
}

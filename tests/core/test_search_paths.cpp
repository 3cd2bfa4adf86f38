#include "model/FolderPath.h"
#include "model/HVFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace hv {
namespace {

class TFolderPathTest : public ::testing::Test {
protected:
    TFolderPathTest() {
        m_News = m_Root.AddChild("ニュース");
        m_Tech = m_News->AddChild("Tech");
        m_Root.AddChild("Ärzte");
        m_Lower = m_Root.AddChild("ärzte"); // differs from the one before only in case
    }
    THVFolder m_Root{"Hollyvine"};
    THVFolder* m_News;
    THVFolder* m_Tech;
    THVFolder* m_Lower;
};

TEST_F(TFolderPathTest, JoinsTheNamesFromTheRoot) {
    EXPECT_EQ(FolderPath(m_Root), "Hollyvine");
    EXPECT_EQ(FolderPath(*m_Tech), "Hollyvine\\ニュース\\Tech");
}

struct TLookup {
    const char* Path;
    const char* Expected; // the path of the folder found, or "" for none
};

class TFolderByPathTest : public TFolderPathTest, public ::testing::WithParamInterface<TLookup> {};

TEST_P(TFolderByPathTest, WalksFromTheRootIgnoringCase) {
    THVFolder* found = FolderByPath(m_Root, GetParam().Path);
    EXPECT_EQ(found == nullptr ? std::string() : FolderPath(*found), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TFolderByPathTest,
    ::testing::Values(TLookup{"Hollyvine", "Hollyvine"},
                      TLookup{"Hollyvine\\ニュース\\Tech", "Hollyvine\\ニュース\\Tech"},
                      TLookup{"HOLLYVINE\\ニュース\\TECH", "Hollyvine\\ニュース\\Tech"},
                      TLookup{"Other root\\ニュース", "Hollyvine\\ニュース"}, // the root's caption is skipped
                      TLookup{"Hollyvine\\ärzte", "Hollyvine\\ärzte"},        // an exact name wins
                      TLookup{"Hollyvine\\ÄRZTE", "Hollyvine\\Ärzte"},        // else the first in any case
                      TLookup{"Hollyvine\\ニュース\\Gone", ""}, TLookup{"Hollyvine\\", ""},
                      TLookup{"Hollyvine\\ニュース\\Tech\\", ""}));

} // namespace
} // namespace hv

#pragma once

#include "FakePrompts.h"
#include "TempDir.h"
#include "document/HVDocument.h"
#include "model/HVFolder.h"
#include "platform/Clock.h"
#include "platform/SafeFile.h"
#include "settings/FontQuery.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hv::test {

inline const std::string kHeader1 = "# Holly Vine Document 1\r\n\r\n";

inline std::string ItemRecord(const std::string& title, const std::string& url, const std::string& extra = {}) {
    return "[Item]\r\nTitle=" + title + "\r\nURL=" + url + "\r\n" + extra + "\r\n";
}

inline std::string FolderRecord(int level, const std::string& name) {
    return "[Folder]\r\nLevel=" + std::to_string(level) + "\r\nName=" + name + "\r\n\r\n";
}

class TNoFonts final : public TFontQuery {
public:
    bool IsInstalled(std::string_view) const override { return false; }
    std::string DefaultUiFamily() const override { return "Sans"; }
};

// A window that records what the document tells it and answers the save dialog from a queue.
class TRecordingView final : public TDocumentView {
public:
    std::vector<std::string> Captions, Events;
    const THVFolder* Selected = nullptr;
    std::deque<std::string> SaveNames;
    std::function<void()> OnCommit = [] {};

    void CaptionChanged(const std::string& caption) override { Captions.push_back(caption); }
    void BusyChanged(bool busy) override { Events.push_back(busy ? "busy" : "idle"); }
    void RootAboutToChange() override { Events.push_back("root-"); }
    void RootChanged() override { Events.push_back("root+"); }
    void TreeAboutToChange() override { Events.push_back("tree-"); }
    void TreeChanged() override { Events.push_back("tree+"); }
    const THVFolder* SelectedFolder() const override { return Selected; }
    void CommitEdits() override { OnCommit(); }
    std::optional<std::string> AskSaveFileName() override {
        if (SaveNames.empty()) {
            return std::nullopt;
        }
        std::string name = SaveNames.front();
        SaveNames.pop_front();
        return name;
    }
};

// A document with settings in memory, a fake window and prompts, and a directory of its own.
class TLifecycleTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (m_Dir / name).string(); }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const { return ReadFileBytes(PathOf(name)); }
    std::vector<std::string> Entries() const { // sorted
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_Dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // The stored view state of a file, or nullopt when the File table holds none.
    std::optional<std::string> StoredViewState(const std::string& path) {
        if (const auto value = m_Store.ReadValue(FileKeyPath, path)) {
            return value->Data;
        }
        return std::nullopt;
    }

    TTestClock m_Clock{EncodeDateTime(2024, 3, 5, 10, 30)};
    TScopedClock m_ClockScope{m_Clock};
    TTempDir m_Temp{"hv_lifecycle"};
    std::filesystem::path m_Dir = m_Temp.Path();
    TMemoryRegistryStore m_Store;
    TNoFonts m_Fonts;
    std::unique_ptr<TSettings> m_Settings = std::make_unique<TSettings>(m_Store, &m_Fonts);
    TFakePrompts m_Prompts;
    TRecordingView m_View;
    std::unique_ptr<THVDocument> m_Doc = std::make_unique<THVDocument>(m_Prompts, m_Settings.get(), &m_View);
};

} // namespace hv::test

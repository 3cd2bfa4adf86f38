#pragma once

#include "TempDir.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace hv::test {

// Sets TZ for one test and puts the previous value back.
class TTimeZone {
public:
    explicit TTimeZone(const char* zone) : m_Had(std::getenv("TZ") != nullptr) {
        m_Old = m_Had ? std::getenv("TZ") : "";
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TTimeZone() {
        m_Had ? setenv("TZ", m_Old.c_str(), 1) : unsetenv("TZ");
        tzset();
    }
    TTimeZone(const TTimeZone&) = delete;
    TTimeZone& operator=(const TTimeZone&) = delete;

private:
    bool m_Had;
    std::string m_Old;
};

// A test with a temporary directory of its own, m_Dir.
class TDirTest : public ::testing::Test {
protected:
    std::string PathOf(const std::string& relative) const { return m_Temp.PathOf(relative); }
    // Writes the file (and the directories it needs) and gives its path.
    std::string Put(const std::string& relative, const std::string& bytes = "") const {
        const std::filesystem::path path = m_Dir / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    const TTempDir m_Temp{"hv-test"};
    const std::filesystem::path& m_Dir = m_Temp.Path();
};

// Central Europe with its changes of the clock, without the time zone database.
inline constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

// The tree below folder, a line each: folders as "[name]" (and "-" when collapsed), items as
// "name <url>", then " @time" when visited and " {memo}" with a memo; two blanks per level.
inline std::string Outline(const THVFolder& folder) {
    std::string out;
    ForEachFolder(folder, [&out](const THVFolder& f, int level) {
        const std::string indent(static_cast<std::size_t>(level) * 2, ' ');
        if (level > 0) {
            out += indent.substr(2) + "[" + f.Name() + "]" + (f.Expanded() ? "" : "-") + "\n";
        }
        for (const auto& item : f.List()) {
            out += indent + item->GetName() + " <" + item->GetURL() + ">";
            if (item->GetLastVisited() != 0) {
                out += " @" + FormatDocDateTime(item->GetLastVisited());
            }
            if (!item->GetMemo().empty()) {
                out += " {" + item->GetMemo() + "}";
            }
            out += "\n";
        }
    });
    return out;
}

} // namespace hv::test

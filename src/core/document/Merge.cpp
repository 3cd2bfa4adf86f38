#include "document/Merge.h"

#include "Errors.h"
#include "document/RecordReader.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/Names.h"
#include "text/TextUtil.h"

#include <charconv>
#include <unordered_set>
#include <vector>

namespace hv {

namespace {

// The value of key in a record (keys ignore letter case, the first line wins); empty when missing.
std::string_view ValueOf(const std::vector<std::string_view>& lines, std::string_view key) {
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t eq = lines[i].find('=');
        if (eq != std::string_view::npos && AsciiSameText(lines[i].substr(0, eq), key)) {
            return lines[i].substr(eq + 1);
        }
    }
    return {};
}

// The level of a folder record, read as the record reader reads it.
int LevelOf(std::string_view text) {
    std::string_view digits = text;
    while (!digits.empty() && (digits.front() == ' ' || digits.front() == '\t')) {
        digits.remove_prefix(1);
    }
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
    }
    int level = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), level);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
        throw EConvertError("'" + std::string(text) + "' は有効な整数値ではありません");
    }
    return level;
}

} // namespace

void MergeRecords(std::string_view body, THVFolder& root, bool sortFolders, TMergeStats& stats) {
    THVFolder* current = &root;
    int currentLevel = 0; // counted from root
    // New items are read by the record reader itself, into this scratch folder, so that they get
    // exactly what opening the file would give them; then they are copied into place.
    THVFolder scratch;
    std::vector<std::string_view> lines;
    std::string_view rest = body;
    // Parents that got new folders are put in order once, at the end (also after a fault): the
    // order that sorting after every new folder gives, without sorting thousands of times.
    struct TSortAtEnd {
        std::unordered_set<THVFolder*> Parents;
        ~TSortAtEnd() {
            for (THVFolder* parent : Parents) {
                parent->SortChildren();
            }
        }
    } unsorted;
    while (true) {
        const std::string_view before = rest;
        const TRecordKind kind = NextRecord(rest, lines);
        if (kind == TRecordKind::End) {
            break;
        }
        if (kind == TRecordKind::Folder) {
            const int level = LevelOf(ValueOf(lines, "Level"));
            while (level <= currentLevel) {
                if (current == &root) {
                    throw EConvertError("フォルダの階層 (Level=" + std::to_string(level) + ") が正しくありません");
                }
                current = current->Parent();
                --currentLevel;
            }
            bool created = false;
            current = current->FindOrCreateChild(FolderNameWithYen(ValueOf(lines, "Name")), false, &created);
            if (created && sortFolders) {
                unsorted.Parents.insert(current->Parent());
            }
            ++currentLevel;
            stats.NewFolders += created ? 1 : 0;
            // Brought into view: its parent is expanded. The parents further up were expanded when
            // the merge came down through them.
            current->Parent()->SetExpanded(true);
            continue;
        }

        if (THVItem* same = current->List().FindByName(ValueOf(lines, "Title"));
            same != nullptr && same->GetURL() == ValueOf(lines, "URL")) {
            const std::string_view visited = ValueOf(lines, "LastVisited");
            const TDateTime when = visited.empty() ? 0 : ParseDocDateTime(visited);
            if (when > same->GetLastVisited()) {
                same->SetLastVisited(when);
                ++stats.UpdatedItems;
            }
            continue;
        }
        scratch.List().Clear();
        ReadRecords(before.substr(0, before.size() - rest.size()), scratch);
        THVItem* item = current->List().Add();
        item->Assign(*scratch.List().Items(0));
        MakeUniqueName(*item);
        ++stats.NewItems;
    }
}

} // namespace hv

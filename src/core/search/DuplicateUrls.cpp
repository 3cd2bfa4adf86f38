#include "search/DuplicateUrls.h"

#include "model/FolderPath.h"
#include "model/HVFolder.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace hv {

namespace {

const std::string kEmpty;

// An occurrence met during the walk; chains of one key are linked through Next.
struct TOccurrence {
    THVFolder* Folder;
    THVItem* Item;
    std::string_view Text; // the URL or the command line
    int Command;
    int Next;
};

struct TKey {
    std::string_view Text; // as the first occurrence spells it (owned by the item or command)
    int Head;
    int Tail;
    int Count;
};

// The distinct keys in order of first appearance, found through a hash of their folded form
// (open addressing; the folded texts are kept end to end in one string).
class TKeyTable {
public:
    // Room for count keys of textBytes bytes in all without growing.
    TKeyTable(std::size_t count, std::size_t textBytes) {
        m_Keys.reserve(count);
        m_Folded.reserve(count);
        m_Arena.reserve(textBytes + textBytes / 8);
        std::size_t slots = 64;
        while (slots < count * 2 + 2) {
            slots *= 2;
        }
        m_Slots.assign(slots, -1);
    }

    // The index of the key whose folded form is folded, after adding it when it is new.
    // added tells which happened.
    int FindOrAdd(std::string_view folded, std::string_view text, int occurrence, bool& added) {
        if ((m_Keys.size() + 1) * 2 > m_Slots.size()) {
            Grow();
        }
        const std::size_t hash = std::hash<std::string_view>{}(folded);
        const std::size_t mask = m_Slots.size() - 1;
        for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
            const int index = m_Slots[slot];
            if (index < 0) {
                m_Slots[slot] = static_cast<int>(m_Keys.size());
                m_Folded.push_back({m_Arena.size(), folded.size(), hash});
                m_Arena.append(folded);
                m_Keys.push_back({text, occurrence, occurrence, 1});
                added = true;
                return m_Slots[slot];
            }
            const TFolded& candidate = m_Folded[static_cast<std::size_t>(index)];
            if (candidate.Hash == hash && FoldedText(candidate) == folded) {
                added = false;
                return index;
            }
        }
    }

    std::vector<TKey>& Keys() { return m_Keys; }

private:
    struct TFolded {
        std::size_t Offset;
        std::size_t Length;
        std::size_t Hash;
    };

    std::string_view FoldedText(const TFolded& f) const { return std::string_view(m_Arena).substr(f.Offset, f.Length); }

    void Grow() {
        std::vector<int> slots(std::max<std::size_t>(64, m_Slots.size() * 2), -1);
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = 0; i < m_Folded.size(); ++i) {
            std::size_t slot = m_Folded[i].Hash & mask;
            while (slots[slot] >= 0) {
                slot = (slot + 1) & mask;
            }
            slots[slot] = static_cast<int>(i);
        }
        m_Slots = std::move(slots);
    }

    std::vector<TKey> m_Keys;
    std::vector<TFolded> m_Folded;
    std::vector<int> m_Slots; // an index into m_Keys, or -1
    std::string m_Arena;
};

} // namespace

const std::string& TDupRow::FolderPath() const {
    return Path ? *Path : kEmpty;
}
const std::string& TDupRow::URL() const {
    return Key ? *Key : kEmpty;
}

void TDupResults::Search(THVFolder& start, bool subFolders, bool commands, const TCaseMapper& mapper) {
    // First the occurrences in walk order, then their keys: the tables are sized once.
    std::vector<TOccurrence> occurrences;
    std::size_t count = 0;
    auto countIn = [&count, commands](const THVFolder& folder) {
        for (const auto& item : folder.List()) {
            // Read through a const item: asking a plain item for its commands must not give it
            // a place for them.
            count += 1 + (commands ? static_cast<std::size_t>(std::as_const(*item).GetCommands().Count()) : 0);
        }
    };
    if (subFolders) {
        ForEachFolder(start, [&countIn](THVFolder& folder, int) { countIn(folder); });
    } else {
        countIn(start);
    }
    occurrences.reserve(count);
    std::size_t textBytes = 0;
    auto visit = [&](THVFolder& folder) {
        for (const auto& item : folder.List()) {
            occurrences.push_back({&folder, item.get(), item->GetURL(), -1, -1});
            textBytes += item->GetURL().size();
            if (commands) {
                const TCmdList& list = std::as_const(*item).GetCommands();
                for (int c = 0; c < list.Count(); ++c) {
                    occurrences.push_back({&folder, item.get(), list.Items(c).CommandLine, c, -1});
                    textBytes += list.Items(c).CommandLine.size();
                }
            }
        }
    };
    if (subFolders) {
        ForEachFolder(start, [&visit](THVFolder& folder, int) { visit(folder); });
    } else {
        visit(start);
    }

    TKeyTable table(occurrences.size(), textBytes);
    std::string folded;
    for (std::size_t o = 0; o < occurrences.size(); ++o) {
        TOccurrence& occurrence = occurrences[o];
        mapper.FoldInto(occurrence.Text, folded);
        bool added = false;
        const int index = table.FindOrAdd(folded, occurrence.Text, static_cast<int>(o), added);
        if (!added) {
            TKey& key = table.Keys()[static_cast<std::size_t>(index)];
            occurrences[static_cast<std::size_t>(key.Tail)].Next = static_cast<int>(o);
            key.Tail = static_cast<int>(o);
            ++key.Count;
        }
    }

    std::vector<TDupRow> rows;
    std::unordered_map<const THVFolder*, TSharedPath> paths;
    int group = 0;
    for (const TKey& key : table.Keys()) {
        if (key.Count < 2) {
            continue;
        }
        const TSharedPath shownKey = std::make_shared<const std::string>(key.Text);
        for (int o = key.Head; o >= 0; o = occurrences[static_cast<std::size_t>(o)].Next) {
            const TOccurrence& occurrence = occurrences[static_cast<std::size_t>(o)];
            TSharedPath& path = paths[occurrence.Folder];
            if (!path) {
                path = std::make_shared<const std::string>(FolderPath(*occurrence.Folder));
            }
            THVItem* item = occurrence.Item;
            TDupRow row;
            row.Folder = occurrence.Folder;
            row.Item = item;
            row.Command = occurrence.Command;
            if (occurrence.Command >= 0) {
                row.CommandTitle = std::as_const(*item).GetCommands().Items(occurrence.Command).Title;
            }
            row.Name = item->GetName();
            row.Path = path;
            row.Key = shownKey;
            row.Group = group;
            rows.push_back(std::move(row));
        }
        ++group;
    }
    ResetRows(std::move(rows));
}

TDupResults::TOpenTarget TDupResults::OpenRow(int row) const {
    if (row < 0 || row >= Count()) {
        return {};
    }
    const TDupRow& found = Row(row);
    if (found.Folder == nullptr) {
        return {};
    }
    const bool present = found.Item != nullptr && found.Item->Owner() == &found.Folder->List() &&
                         found.Folder->List().IndexOf(found.Item) >= 0;
    return {found.Folder, present ? found.Item : nullptr};
}

} // namespace hv

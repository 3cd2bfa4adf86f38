#include "document/RecordReader.h"

#include "Errors.h"
#include "document/DocumentReader.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "model/Names.h"
#include "text/TextUtil.h"

#include <charconv>
#include <climits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace hv {

namespace {

bool ParseInt(std::string_view text, long long& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The values of one record by key; keys compare case-insensitively and the first line with
// a key wins.
class TRecordValues {
public:
    explicit TRecordValues(const std::vector<std::string_view>& lines) : m_Lines(lines) {}

    std::string_view Value(std::string_view key) const {
        for (std::size_t i = 1; i < m_Lines.size(); ++i) {
            std::string_view line = m_Lines[i];
            std::size_t eq = line.find('=');
            if (eq != std::string_view::npos && AsciiSameText(line.substr(0, eq), key)) {
                return line.substr(eq + 1);
            }
        }
        return {};
    }

private:
    const std::vector<std::string_view>& m_Lines;
};

// The number n of a "CmdN" key written the way the writer writes it (no sign, no leading zero),
// or -1.
long long CommandNumber(std::string_view key) {
    if (key.size() < 4 || key.size() > 12 || !AsciiSameText(key.substr(0, 3), "Cmd")) {
        return -1;
    }
    std::string_view digits = key.substr(3);
    if (digits.size() > 1 && digits.front() == '0') {
        return -1;
    }
    long long n = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return ec == std::errc() && end == digits.data() + digits.size() && n >= 0 ? n : -1;
}

// Commands Cmd0, Cmd1, ... up to the first one missing or without a command line. The lines are
// gathered by number in one pass (the first line with a key wins), so an item with many commands
// reads in linear time.
void ReadCommands(const std::vector<std::string_view>& lines, THVItem& item) {
    // Numbers beyond the line count cannot belong to an unbroken run from Cmd0.
    std::vector<std::optional<std::string_view>> byNumber(lines.size());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        const long long n = CommandNumber(line.substr(0, eq));
        if (n >= 0 && static_cast<unsigned long long>(n) < byNumber.size() && !byNumber[n]) {
            byNumber[n] = line.substr(eq + 1);
        }
    }
    TCmdList& commands = item.GetCommands();
    for (std::size_t n = 0; n < byNumber.size(); ++n) {
        std::string_view value = byNumber[n].value_or(std::string_view());
        std::size_t tab = value.find('\t');
        std::string_view rest = tab == std::string_view::npos ? std::string_view() : value.substr(tab + 1);
        if (rest.empty()) {
            break;
        }
        const int count = static_cast<int>(n) + 1;
        if (commands.Count() < count) {
            commands.SetCount(count);
        }
        TCmdItem& cmd = commands.Items(static_cast<int>(n));
        cmd.Title = std::string(value.substr(0, tab));
        std::size_t tab2 = rest.find('\t');
        cmd.CommandLine = std::string(rest.substr(0, tab2));
        cmd.UpdateLastVisited =
            tab2 != std::string_view::npos && rest.substr(tab2 + 1).find('V') != std::string_view::npos;
    }
}

// The child folders of each parent by folded name, built the first time a parent is searched,
// so that finding a same-named folder among many siblings takes constant time. Only the reader
// adds folders while it runs, and it tells the index.
class TChildIndex {
public:
    THVFolder* FindOrCreate(THVFolder& parent, std::string_view name, bool& created) {
        auto [it, fresh] = m_ByParent.try_emplace(&parent);
        auto& names = it->second;
        if (fresh) {
            for (const auto& child : parent.Children()) {
                names.try_emplace(AsciiLowerCase(child->Name()), child.get());
            }
        }
        std::string key = AsciiLowerCase(name);
        if (auto found = names.find(key); found != names.end()) {
            created = false;
            return found->second;
        }
        THVFolder* child = parent.AddChild(std::string(name));
        names.emplace(std::move(key), child);
        created = true;
        return child;
    }

private:
    std::unordered_map<const THVFolder*, std::unordered_map<std::string, THVFolder*>> m_ByParent;
};

void ReadIcon(std::string_view icon, THVItem& item) {
    if (icon.empty()) {
        return;
    }
    // "file,index". The index follows the last comma; a file name may hold commas itself, so
    // a tail that is no number belongs to the name.
    std::size_t comma = icon.rfind(',');
    long long index = 0;
    if (comma != std::string_view::npos) {
        std::string_view tail = icon.substr(comma + 1);
        if (ParseInt(tail, index) && index >= INT_MIN && index <= INT_MAX) {
            item.SetIconRaw(std::string(icon.substr(0, comma)), static_cast<int>(index));
            return;
        }
        if (tail.empty()) {
            item.SetIconRaw(std::string(icon.substr(0, comma)), 0);
            return;
        }
    }
    item.SetIconRaw(std::string(icon), 0);
}

// The values of an item record.
struct TItemValues {
    std::string_view Title, URL, Memo, LastVisited, Icon, Schedule;
    bool HasCommands = false;
};

bool IsKey(std::string_view key, std::string_view name) {
    return key.size() == name.size() && AsciiSameText(key, name);
}

TItemValues ScanItem(const std::vector<std::string_view>& lines) {
    TItemValues v;
    // One pass over the lines for the common keys; the first line with a key wins.
    bool seenTitle = false, seenURL = false, seenMemo = false, seenLast = false, seenIcon = false, seenSched = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        std::string_view key = line.substr(0, eq);
        std::string_view value = line.substr(eq + 1);
        auto take = [&](std::string_view name, bool& seen, std::string_view& target) {
            if (!seen && IsKey(key, name)) {
                seen = true;
                target = value;
                return true;
            }
            return false;
        };
        if (take("Title", seenTitle, v.Title) || take("URL", seenURL, v.URL) || take("Memo", seenMemo, v.Memo) ||
            take("LastVisited", seenLast, v.LastVisited) || take("Icon", seenIcon, v.Icon) ||
            take("Schedule", seenSched, v.Schedule)) {
            continue;
        }
        if (key.size() > 3 && AsciiSameText(key.substr(0, 3), "Cmd")) {
            v.HasCommands = true;
        }
    }
    return v;
}

// Fills a new item from its record; the memo is decoded first, so a bad memo leaves the item
// untouched.
void ReadItem(const std::vector<std::string_view>& lines, const TItemValues& v, THVItem& item) {
    std::string memo = DecodeMemo(v.Memo);
    item.SetURL(std::string(v.URL));
    item.SetSchedule(std::string(v.Schedule));
    item.SetMemo(std::move(memo));
    item.SetLastVisited(v.LastVisited.empty() ? 0 : ParseDocDateTime(v.LastVisited));
    ReadIcon(v.Icon, item);
    if (v.HasCommands) {
        ReadCommands(lines, item);
    }
}

} // namespace

TRecordKind SplitRecord(std::string_view record, std::vector<std::string_view>& lines) {
    lines.clear();
    // Lines end at CR LF, CR or LF.
    const char* p = record.data();
    const char* const end = p + record.size();
    while (p < end) {
        const char* q = p;
        while (q < end && *q != '\r' && *q != '\n') {
            ++q;
        }
        if (!(lines.empty() && q == p)) {
            lines.emplace_back(p, static_cast<std::size_t>(q - p));
        }
        if (q == end) {
            break;
        }
        p = q + ((*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1);
    }
    if (lines.empty()) {
        return TRecordKind::End;
    }
    if (lines.front() == "[Folder]") {
        return TRecordKind::Folder;
    }
    if (lines.front() == "[Item]") {
        return TRecordKind::Item;
    }
    return TRecordKind::End;
}

TRecordKind NextRecord(std::string_view& text, std::vector<std::string_view>& lines) {
    lines.clear();
    if (text.empty()) {
        return TRecordKind::End;
    }
    std::size_t recordEnd = text.find("\r\n\r\n");
    std::string_view record = recordEnd == std::string_view::npos ? text : text.substr(0, recordEnd + 4);
    text.remove_prefix(record.size());
    return SplitRecord(record, lines);
}

std::string DecodeMemo(std::string_view value) {
    std::string result;
    result.reserve(value.size());
    std::size_t pos = 0;
    const std::size_t n = value.size();
    while (true) {
        if (pos < n && value[pos] == '"') {
            ++pos;
            while (pos < n) {
                if (value[pos] == '"') {
                    if (pos + 1 < n && value[pos + 1] == '"') {
                        result += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                result += value[pos++];
            }
            if (pos >= n) {
                break;
            }
            if (value[pos] != ',') {
                throw EConvertError("行の区切りにカンマ以外の文字が使われています");
            }
            result += "\r\n";
            ++pos;
            continue;
        }
        std::size_t comma = value.find(',', pos);
        if (comma == std::string_view::npos) {
            result += value.substr(pos);
            break;
        }
        result += value.substr(pos, comma - pos);
        result += "\r\n";
        pos = comma + 1;
    }
    return result;
}

namespace {

// Builds the tree from records handed to it one by one.
class TRecordBuilder {
public:
    TRecordBuilder(THVFolder& target, const TReadOptions& options)
        : m_Target(target), m_Options(options), m_Current(&target), m_CurrentLevel(target.Level()),
          m_TargetLevel(m_CurrentLevel) {}

    // Takes one record; false when it is of no known kind, which ends the reading.
    bool Add(TRecordKind kind, const std::vector<std::string_view>& lines);
    // Puts new folders in order; called once at the end, also after a failure.
    void Finish();
    int Entries() const { return m_Entries; }

private:
    THVFolder& m_Target;
    const TReadOptions& m_Options;
    THVFolder* m_Current;
    int m_CurrentLevel;
    const int m_TargetLevel;
    int m_Entries = 0;
    // Parents that got new folders; they are put in order once at the end, which gives the
    // order that re-sorting after every single new folder would give.
    std::unordered_set<THVFolder*> m_Unsorted;
    // The lists that got items, with the index of the first of them.
    std::unordered_map<THVList*, int> m_NewItems;
    // Each parent's children by name, for finding same-named folders at once.
    TChildIndex m_Children;
};

bool TRecordBuilder::Add(TRecordKind kind, const std::vector<std::string_view>& lines) {
    if (kind == TRecordKind::Folder) {
        TRecordValues values(lines);
        std::string_view levelText = values.Value("Level");
        long long level = 0;
        if (!ParseInt(levelText, level) || level < INT_MIN || level > INT_MAX) {
            throw EConvertError("'" + std::string(levelText) + "' は有効な整数値ではありません");
        }
        while (m_TargetLevel + level <= m_CurrentLevel) {
            if (m_Current->Parent() == nullptr) {
                throw EConvertError("フォルダの階層 (Level=" + std::to_string(level) + ") が正しくありません");
            }
            m_Current = m_Current->Parent();
            --m_CurrentLevel;
        }
        bool created = false;
        m_Current = m_Children.FindOrCreate(*m_Current, FolderNameWithYen(values.Value("Name")), created);
        ++m_CurrentLevel;
        if (created) {
            ++m_Entries;
            if (m_Options.SortFolders) {
                m_Unsorted.insert(m_Current->Parent());
            }
        }
        return true;
    }
    if (kind != TRecordKind::Item) {
        return false;
    }
    TItemValues values = ScanItem(lines);
    THVItem* item = m_Current->List().Add(std::string(values.Title));
    try {
        ReadItem(lines, values, *item);
    } catch (...) {
        item->Delete(); // a half-read item is not kept
        throw;
    }
    if (m_Current == m_Options.ShownFolder && m_Options.OnItemShown) {
        MakeUniqueName(*item);
        m_Options.OnItemShown(*item);
    } else {
        // Names are made unique list by list at the end, which for the usual document of unique
        // names is a quick check instead of an index entry per item.
        m_NewItems.try_emplace(&m_Current->List(), m_Current->List().Count() - 1);
    }
    ++m_Entries;
    return true;
}

void TRecordBuilder::Finish() {
    for (const auto& [list, first] : m_NewItems) {
        list->MakeNamesUniqueFrom(first);
    }
    m_NewItems.clear();
    for (THVFolder* parent : m_Unsorted) {
        parent->SortChildren();
    }
    m_Unsorted.clear();
    m_Target.SetExpandedRecursive(true);
}

// Feeds the records that next() hands out, split into lines, to a builder.
template <class Next> int BuildTree(THVFolder& target, const TReadOptions& options, Next&& next) {
    TRecordBuilder builder(target, options);
    std::vector<std::string_view> lines;
    try {
        while (builder.Add(next(lines), lines)) {
        }
    } catch (...) {
        builder.Finish();
        throw;
    }
    builder.Finish();
    return builder.Entries();
}

} // namespace

int ReadRecords(std::string_view text, THVFolder& target, const TReadOptions& options) {
    return BuildTree(target, options,
                     [&text](std::vector<std::string_view>& lines) { return NextRecord(text, lines); });
}

int ReadRecords(TDocumentReader& reader, THVFolder& target, const TReadOptions& options) {
    return BuildTree(target, options, [&reader](std::vector<std::string_view>& lines) {
        return SplitRecord(reader.NextRecord(), lines);
    });
}

} // namespace hv

#include "importexport/ImpBookmark.h"

#include "importexport/HtmlParse.h"
#include "importexport/ImpHtml.h"
#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/Names.h"
#include "platform/SafeFile.h"
#include "text/CharRefs.h"
#include "text/TextUtil.h"

#include <cerrno>
#include <charconv>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace hv {

namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(s.size());
    std::size_t runStart = 0;
    for (std::size_t pos = s.find(from); pos != std::string_view::npos; pos = s.find(from, runStart)) {
        out.append(s.substr(runStart, pos - runStart));
        out.append(to);
        runStart = pos + from.size();
    }
    out.append(s.substr(runStart));
    return out;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') {
        s.remove_prefix(1);
    }
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

bool IsBlankText(std::string_view s) {
    return s.find_first_not_of(" \t\r\n\f") == std::string_view::npos;
}

// A name from the file's text: references decoded, one line, blanks at both ends dropped.
std::string CleanName(std::string_view raw) {
    const std::string line = ReplaceAll(SanitizeLine(DecodeCharRefs(raw)), kNoBreakSpace, " ");
    const std::string_view name = TrimBlanks(line);
    return name.empty() ? std::string(kNoTextName) : std::string(name);
}

// Memo text: references decoded, every line break CR LF, no white space at the end.
std::string CleanMemo(std::string_view raw) {
    const std::string decoded = DecodeCharRefs(raw);
    std::string memo;
    memo.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        const char c = decoded[i];
        if (c == '\r' || c == '\n') {
            memo += "\r\n";
            if (c == '\r' && i + 1 < decoded.size() && decoded[i + 1] == '\n') {
                ++i;
            }
        } else {
            memo.push_back(c);
        }
    }
    while (!memo.empty() && (memo.back() == ' ' || memo.back() == '\t' || memo.back() == '\r' || memo.back() == '\n')) {
        memo.pop_back();
    }
    return memo;
}

// "last_visit": whole seconds since 1970 in UTC; 0 (never) when it is no decimal number or lies
// outside the calendar.
TDateTime LastVisitFrom(std::string_view value) {
    if (!value.empty() && value.front() == '+') {
        value.remove_prefix(1);
    }
    std::int64_t seconds = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
    if (error != std::errc() || end != value.data() + value.size() || seconds == 0) {
        return 0;
    }
    try {
        return DateTimeFromUnix(seconds);
    } catch (const EConvertError&) {
        return 0;
    }
}

// Drops one line break (CR CR LF, CR LF, LF or CR) from the start of s.
std::string_view DropLeadingBreak(std::string_view s) {
    for (std::string_view brk : {"\r\r\n", "\r\n", "\n", "\r"}) {
        if (s.starts_with(brk)) {
            return s.substr(brk.size());
        }
    }
    return s;
}

std::string DecodeBookmarkBytes(std::string_view bytes) {
    if (std::optional<TDecodedText> decoded = DecodeHtmlBytes(bytes, TLineEnds::Keep)) {
        return std::move(decoded->Text);
    }
    // Bytes the detection rejects are read as the Shift_JIS they most likely are.
    const std::size_t nul = bytes.find('\0');
    return DecodeKanjiText(bytes.substr(0, nul), TKanjiCode::kcSjis, TLineEnds::Keep).Text;
}

class TBookmarkWalker {
public:
    TBookmarkWalker(std::string text, THVFolder& target, const TBookmarkImportOptions& options)
        : m_Parser(std::move(text)), m_Target(target), m_Current(&target), m_Options(options) {}

    TBookmarkImportResult Run() {
        if (!SkipToFirstList()) {
            return m_Result;
        }
        try {
            Walk();
        } catch (...) {
            Finish(false);
            throw;
        }
        Finish(true);
        return m_Result;
    }

private:
    // The next token, or the one handed back by PutBack.
    bool Read() {
        if (m_Again) {
            m_Again = false;
            return true;
        }
        return m_Parser.Next();
    }
    void PutBack() { m_Again = true; }

    bool IsTag(std::string_view name) const {
        return m_Parser.Kind() == THtmlTokenKind::Tag && m_Parser.Tag().IsTag(name);
    }
    bool IsStartTag(std::string_view name) const { return IsTag(name) && m_Parser.Tag().IsStart(); }
    bool IsEndTag(std::string_view name) const { return IsTag(name) && !m_Parser.Tag().IsStart(); }

    bool SkipToFirstList() {
        while (Read()) {
            if (IsTag("dl")) {
                return !m_Parser.Eof();
            }
        }
        return false;
    }

    void Walk() {
        while (Read()) {
            if (IsTag("dl")) {
                if (m_Parser.Tag().IsStart()) {
                    OpenList();
                } else if (!CloseList()) {
                    return;
                }
            } else if (IsStartTag("dt")) {
                Term();
            } else if (IsStartTag("dd")) {
                MemoText(false);
            } else if (IsStartTag("br")) {
                MemoText(true);
            }
        }
    }

    void OpenList() {
        if (m_Pending.empty()) {
            m_Lists.push_back(false);
            return;
        }
        m_Current = FindOrAddChild(*m_Current, m_Pending);
        m_Lists.push_back(true);
    }

    // False at the end of the target's own list.
    bool CloseList() {
        if (m_Lists.empty()) {
            return false;
        }
        const bool entered = m_Lists.back();
        m_Lists.pop_back();
        if (entered) {
            m_Current = m_Current->Parent();
            if (m_SortSet.insert(m_Current).second) {
                m_ToSort.push_back(m_Current);
            }
        }
        return true;
    }

    void Term() {
        // Blank text between DT and what it introduces is no content.
        bool read = false;
        while ((read = Read()) && m_Parser.IsText() && IsBlankText(m_Parser.TokenText())) {
        }
        if (!read) {
            return;
        }
        if (IsStartTag("a")) {
            Link();
        } else if (IsStartTag("h3")) {
            Heading();
        } else if (!m_Parser.IsText()) {
            PutBack();
        }
    }

    void Link() {
        const THtmlTag& tag = m_Parser.Tag();
        std::string url = LinkURLFromHref(tag.GetAttr("href"));
        const TDateTime lastVisit = LastVisitFrom(tag.GetAttr("last_visit"));
        std::string name(kNoTextName);
        if (Read()) {
            if (m_Parser.IsText()) {
                name = CleanName(m_Parser.TokenText());
            } else if (!IsEndTag("a")) {
                PutBack();
            }
        }
        FinishMemo();
        THVItem* item = m_Current->List().Add();
        item->SetName(std::move(name));
        item->SetURL(std::move(url));
        item->SetLastVisited(lastVisit);
        MakeUniqueName(*item);
        m_LastItem = item;
        ++m_Result.Items;
        m_Result.Modified = true;
        if (m_Current == m_Options.ShownFolder && m_Options.OnItemShown) {
            m_Options.OnItemShown(*item);
        }
    }

    void Heading() {
        FinishMemo();
        m_LastItem = nullptr;
        m_Pending = std::string(kNoTextName);
        if (!Read()) {
            return;
        }
        if (m_Parser.IsText()) {
            m_Pending = FolderNameWithYen(CleanName(m_Parser.TokenText()));
        } else if (!IsEndTag("h3")) {
            PutBack();
        }
    }

    // The text after a DD or a BR tag joins the last item's memo.
    void MemoText(bool afterBreak) {
        if (afterBreak && m_LastItem != nullptr) {
            m_Memo += "\r\n";
        }
        if (!Read()) {
            return;
        }
        if (!m_Parser.IsText()) {
            PutBack();
            return;
        }
        if (m_LastItem == nullptr) {
            return;
        }
        std::string_view text = m_Parser.TokenText();
        if (afterBreak) {
            text = DropLeadingBreak(text);
        }
        // CR CR LF ends a description; what follows it belongs to nobody.
        const std::size_t cut = text.find("\r\r\n");
        if (cut != std::string_view::npos) {
            text = text.substr(0, cut);
        }
        if (text.ends_with('\r')) {
            text.remove_suffix(1);
        }
        m_Memo += text;
        if (cut != std::string_view::npos) {
            FinishMemo();
            m_LastItem = nullptr;
        }
    }

    void FinishMemo() {
        if (m_LastItem != nullptr && !m_Memo.empty()) {
            std::string memo = CleanMemo(m_Memo);
            if (!memo.empty()) {
                m_LastItem->SetMemo(m_LastItem->GetMemo() + memo);
            }
        }
        m_Memo.clear();
    }

    THVFolder* FindOrAddChild(THVFolder& parent, const std::string& name) {
        auto [entry, fresh] = m_ChildIndex.try_emplace(&parent);
        auto& index = entry->second;
        if (fresh) {
            for (const auto& child : parent.Children()) {
                index.try_emplace(AsciiLowerCase(child->Name()), child.get());
            }
        }
        std::string key = AsciiLowerCase(name);
        if (auto found = index.find(key); found != index.end()) {
            return found->second;
        }
        THVFolder* child = parent.AddChild(name);
        index.emplace(std::move(key), child);
        ++m_Result.Folders;
        m_Result.Modified = true;
        return child;
    }

    void Finish(bool completed) {
        FinishMemo();
        for (THVFolder* folder : m_ToSort) {
            std::vector<const THVFolder*> before;
            before.reserve(folder->Children().size());
            for (const auto& child : folder->Children()) {
                before.push_back(child.get());
            }
            folder->SortChildren();
            for (std::size_t i = 0; i < before.size(); ++i) {
                if (folder->Children()[i].get() != before[i]) {
                    m_Result.Modified = true;
                    break;
                }
            }
        }
        if (completed) {
            m_Target.SetExpandedRecursive(true);
        }
    }

    THtmlParser m_Parser;
    bool m_Again = false;
    THVFolder& m_Target;
    THVFolder* m_Current;
    const TBookmarkImportOptions& m_Options;
    std::string m_Pending;
    // For each open DL: whether it entered a folder.
    std::vector<bool> m_Lists;
    THVItem* m_LastItem = nullptr;
    std::string m_Memo; // raw memo text of the last item, not yet cleaned
    // Child folders by lower-cased name, for each folder that received headings.
    std::unordered_map<THVFolder*, std::unordered_map<std::string, THVFolder*>> m_ChildIndex;
    // Folders whose children are sorted at the end, once each.
    std::vector<THVFolder*> m_ToSort;
    std::unordered_set<THVFolder*> m_SortSet;
    TBookmarkImportResult m_Result;
};

} // namespace

bool CanImportBookmarksInto(const THVFolder& target) {
    return target.ChildCount() == 0;
}

TBookmarkImportResult ImportBookmarks(std::string_view bytes, THVFolder& target,
                                      const TBookmarkImportOptions& options) {
    TBookmarkWalker walker(DecodeBookmarkBytes(bytes), target, options);
    return walker.Run();
}

std::optional<TBookmarkImportResult> ImportBookmarkFile(const std::string& path, THVFolder& target,
                                                        const TBookmarkImportOptions& options) {
    if (!FileExists(path)) {
        return std::nullopt;
    }
    return ImportBookmarks(ReadFileBytes(path), target, options);
}

} // namespace hv

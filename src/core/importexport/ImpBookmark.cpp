#include "importexport/ImpBookmark.h"

#include "importexport/HtmlParse.h"
#include "importexport/ImpHtml.h"
#include "model/DateTime.h"
#include "platform/BookmarkLocator.h"
#include "platform/SafeFile.h"
#include "platform/UserPrompts.h"
#include "text/CharRefs.h"
#include "text/TextUtil.h"

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <vector>

namespace hv {

namespace {

bool IsBlankText(std::string_view s) {
    return s.find_first_not_of(" \t\r\n\f") == std::string_view::npos;
}

// A name from the file's text: references decoded, one line, blanks at both ends dropped.
std::string CleanName(std::string_view raw) {
    std::string name = CleanImportedName(DecodeCharRefs(raw));
    return name.empty() ? std::string(kNoTextName) : name;
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
    explicit TBookmarkWalker(std::string text) : m_Parser(std::move(text)) {}

    // Reads the file into Tree(); false when it holds no list at all. Throws EHtmlParseError,
    // and Tree() then holds what came before the error.
    bool Run() {
        if (!SkipToFirstList()) {
            return false;
        }
        try {
            Walk();
        } catch (...) {
            FinishMemo();
            throw;
        }
        FinishMemo();
        return true;
    }

    const TBookmarkTree& Tree() const { return m_Tree; }

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
        m_Current = m_Tree.AddFolder(m_Current, m_Pending);
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
            m_Current = m_Tree.Nodes()[static_cast<std::size_t>(m_Current)].Parent;
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
        m_LastItem = m_Tree.AddItem(m_Current, std::move(name), std::move(url), lastVisit);
    }

    void Heading() {
        FinishMemo();
        m_LastItem = kNone;
        m_Pending = std::string(kNoTextName);
        if (!Read()) {
            return;
        }
        if (m_Parser.IsText()) {
            m_Pending = CleanImportedFolderName(DecodeCharRefs(m_Parser.TokenText()));
        } else if (!IsEndTag("h3")) {
            PutBack();
        }
    }

    // The text after a DD or a BR tag joins the last item's memo.
    void MemoText(bool afterBreak) {
        if (afterBreak && m_LastItem != kNone) {
            m_Memo += "\r\n";
        }
        if (!Read()) {
            return;
        }
        if (!m_Parser.IsText()) {
            PutBack();
            return;
        }
        if (m_LastItem == kNone) {
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
            m_LastItem = kNone;
        }
    }

    void FinishMemo() {
        if (m_LastItem != kNone && !m_Memo.empty()) {
            m_Tree.Nodes()[static_cast<std::size_t>(m_LastItem)].Memo += CleanMemo(m_Memo);
        }
        m_Memo.clear();
    }

    static constexpr int kNone = -2;

    THtmlParser m_Parser;
    bool m_Again = false;
    TBookmarkTree m_Tree;
    int m_Current = TBookmarkTree::kTargetNode;
    std::string m_Pending;
    // For each open DL: whether it entered a folder.
    std::vector<bool> m_Lists;
    int m_LastItem = kNone;
    std::string m_Memo; // raw memo text of the last item, not yet cleaned
};

} // namespace

TBookmarkImportResult ImportBookmarks(std::string_view bytes, THVFolder& target,
                                      const TBookmarkImportOptions& options) {
    TBookmarkWalker walker(DecodeBookmarkBytes(bytes));
    try {
        if (!walker.Run()) {
            return {};
        }
    } catch (...) {
        // What was read before the error stays in the document.
        InsertBookmarkTree(walker.Tree(), target, options, false);
        throw;
    }
    return InsertBookmarkTree(walker.Tree(), target, options);
}

std::optional<TBookmarkImportResult> ImportBookmarkFile(const std::string& path, THVFolder& target,
                                                        const TBookmarkImportOptions& options) {
    if (!FileExists(path)) {
        return std::nullopt;
    }
    return ImportBookmarks(ReadFileBytes(path), target, options);
}

std::optional<std::string> ChooseBookmarkFile(const std::string& home, TUserPrompts& prompts,
                                              const TAskBookmarkFile& askFile) {
    std::string startDir = home;
    if (const std::optional<std::string> inUse = FindUserBookmarkSource(home)) {
        switch (prompts.AskYesNoCancel(std::string(kUseCurrentBookmarksQuestion), std::string(kPromptTitle))) {
        case TYesNoCancel::Yes:
            return inUse;
        case TYesNoCancel::Cancel:
            return std::nullopt;
        case TYesNoCancel::No:
            startDir = std::filesystem::path(*inUse).parent_path().string();
            break;
        }
    }
    return askFile(startDir);
}

} // namespace hv

#include "importexport/ImpHtml.h"

#include "importexport/HtmlParse.h"
#include "model/HVFolder.h"
#include "model/ItemOrder.h"
#include "model/Names.h"
#include "model/TreeEdits.h"
#include "text/CharRefs.h"
#include "text/TextUtil.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace hv {

namespace {

constexpr std::string_view kUntitled = "(Untitled)";
constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
constexpr std::array<std::string_view, 4> kImportSchemes = {"http", "https", "ftp", "gopher"};

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    std::size_t pos = s.find(from);
    if (pos == std::string::npos) {
        return;
    }
    std::string out;
    out.reserve(s.size());
    std::size_t runStart = 0;
    while (pos != std::string::npos) {
        out.append(s, runStart, pos - runStart);
        out.append(to);
        runStart = pos + from.size();
        pos = s.find(from, runStart);
    }
    out.append(s, runStart);
    s = std::move(out);
}

std::string SourceOf(std::string_view name, int line) {
    return std::string(name) + " (" + std::to_string(line) + "行目)";
}

} // namespace

bool IsImportScheme(std::string_view url) {
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    const std::string_view scheme = url.substr(0, colon);
    return std::any_of(kImportSchemes.begin(), kImportSchemes.end(),
                       [scheme](std::string_view s) { return AsciiSameText(scheme, s); });
}

std::string CleanLinkTitle(std::string_view raw) {
    std::string title = DecodeCharRefs(raw);
    title = FolderNameWithYen(title);
    ReplaceAll(title, "\r\n", " ");
    ReplaceAll(title, kNoBreakSpace, " ");
    // Pages written by hand spell it in capitals too, which no browser takes as a reference.
    ReplaceAll(title, "&NBSP;", " ");
    title = SanitizeLine(title);
    if (TrimSpaces(title).empty()) {
        return std::string(kUntitled);
    }
    return title;
}

std::string LinkURLFromHref(std::string_view href) {
    return std::string(TrimSpaces(SanitizeLine(DecodeCharRefs(href, TCharRefContext::Attribute))));
}

void ReadHtmlLinksFromText(std::string text, std::string_view sourceName, std::vector<THtmlLink>& links,
                           const TLinkProgressFn& progress, int lineCount) {
    THtmlParser parser(std::move(text));
    bool open = false;
    // The open link's row (an index: rows may move as the vector grows); -1 for an anchor without href.
    std::ptrdiff_t current = -1;
    std::string title;
    auto close = [&] {
        if (current >= 0) {
            links[static_cast<std::size_t>(current)].Title = CleanLinkTitle(title);
        }
        open = false;
        current = -1;
    };
    while (parser.Next()) {
        if (progress) {
            progress(parser.Line(), lineCount);
        }
        const THtmlTag& tag = parser.Tag();
        if (parser.Kind() == THtmlTokenKind::Tag && tag.IsTag("a")) {
            if (open) {
                close();
            }
            if (!tag.IsStart()) {
                continue;
            }
            open = true;
            title.clear();
            if (tag.HasAttr("href")) {
                THtmlLink link;
                link.URL = LinkURLFromHref(tag.GetAttr("href"));
                link.Checked = IsImportScheme(link.URL);
                link.Sequence = static_cast<int>(links.size()) + 1;
                link.Source = SourceOf(sourceName, parser.Line());
                links.push_back(std::move(link));
                current = static_cast<std::ptrdiff_t>(links.size()) - 1;
            }
        } else if (open && parser.IsText()) {
            title += parser.TokenText();
        }
    }
    if (open) {
        close();
    }
}

void ReadHtmlLinks(const std::string& path, std::vector<THtmlLink>& links, const TLinkProgressFn& progress) {
    int lineCount = 0;
    std::string text = LoadHtmlFile(path, lineCount);
    const std::string name = std::filesystem::path(path).filename().string();
    ReadHtmlLinksFromText(std::move(text), name, links, progress, lineCount);
}

int ImportHtmlLinks(const std::vector<THtmlLink>& links, THVFolder& folder, bool all, TTreeEdits* edits) {
    int count = 0;
    for (const THtmlLink& link : links) {
        if (!all && !link.Checked) {
            continue;
        }
        // Titles edited in the checklist may hold anything; a document line holds no break.
        const std::string name = SanitizeLine(link.Title);
        const std::string url = SanitizeLine(link.URL);
        if (edits != nullptr) {
            edits->AddNewItem(folder.List(), name, url);
        } else {
            THVItem* item = folder.List().Add(name);
            item->SetURL(url);
            MakeUniqueName(*item);
        }
        ++count;
    }
    return count;
}

std::string LinksImportedMessage(int count) {
    return std::to_string(count) + "個のリンクをインポートしました。";
}

void SortHtmlLinks(std::vector<THtmlLink>& links, TLinkSort order) {
    switch (order) {
    case TLinkSort::ByName:
        std::stable_sort(links.begin(), links.end(),
                         [](const THtmlLink& a, const THtmlLink& b) { return CompareNames(a.Title, b.Title) < 0; });
        break;
    case TLinkSort::ByURL:
        std::stable_sort(links.begin(), links.end(),
                         [](const THtmlLink& a, const THtmlLink& b) { return a.URL < b.URL; });
        break;
    case TLinkSort::ByImportOrder:
        std::stable_sort(links.begin(), links.end(),
                         [](const THtmlLink& a, const THtmlLink& b) { return a.Sequence < b.Sequence; });
        break;
    }
}

} // namespace hv

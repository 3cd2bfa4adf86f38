#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Importing the links of HTML files: reading them into checklist rows, and adding the chosen rows
// to a folder as items.

namespace hv {

class THVFolder;
class TTreeEdits;

inline constexpr std::string_view kImpHtmlCaption = "HTMLファイルのインポート";

// One link found in a file.
struct THtmlLink {
    std::string Title;  // cleaned (CleanLinkTitle); "" while the link is open
    std::string URL;    // the href value with its character references decoded
    std::string Source; // the file name without directory and " (%d行目)"
    int Sequence = 0;   // 1 for the first row since the list was emptied
    bool Checked = false;
};

// Whether the text before the first ":" of url is http, https, ftp or gopher (any letter case).
bool IsImportScheme(std::string_view url);

// A link's title as the browser shows it: character references decoded, "\" to "￥", TAB and
// CR LF to one blank each (other control characters too), a no-break space to a blank;
// "(Untitled)" when nothing but blanks is left.
std::string CleanLinkTitle(std::string_view raw);

// The address of an href value: references decoded, line breaks and tabs blank, other control
// characters removed, blanks at both ends dropped.
std::string LinkURLFromHref(std::string_view href);

// Called for every token with the current line and the number of line breaks of the file.
using TLinkProgressFn = std::function<void(int line, int lineCount)>;

// Appends the links of an HTML text (UTF-8 with CR LF, as LoadHtmlFile gives it); sourceName is
// the file name shown in each row. An "a" start tag while a link is open closes that link first,
// an "a" end tag outside a link means nothing, and a link still open at the end is closed there.
// Throws EHtmlParseError; the rows read before stay in links.
void ReadHtmlLinksFromText(std::string text, std::string_view sourceName, std::vector<THtmlLink>& links,
                           const TLinkProgressFn& progress = {}, int lineCount = 0);

// Loads the file with LoadHtmlFile and appends its links (nothing for a rejected file).
// Throws EFileError when the file cannot be read and EHtmlParseError.
void ReadHtmlLinks(const std::string& path, std::vector<THtmlLink>& links, const TLinkProgressFn& progress = {});

// Appends an item for every checked row (every row with all) to folder in row order, names made
// unique, through edits when given (so that the views hear of each); returns how many were added.
int ImportHtmlLinks(const std::vector<THtmlLink>& links, THVFolder& folder, bool all = false,
                    TTreeEdits* edits = nullptr);

// "%d個のリンクをインポートしました。"
std::string LinksImportedMessage(int count);

enum class TLinkSort { ByName, ByURL, ByImportOrder };
// Ascending: titles by CompareNames, URLs byte by byte, or sequence numbers.
void SortHtmlLinks(std::vector<THtmlLink>& links, TLinkSort order);

} // namespace hv

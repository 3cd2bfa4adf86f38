#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Writing a folder, or the whole tree, as a readable HTML page.
namespace hv {

class THVFolder;
class TSettings;
struct TItemOrder;

inline constexpr std::string_view kExpHtmlCaption = "HTMLファイルのエクスポート";

// The choices of the page (the ExportHtml settings and the dialog's title).
struct TExportHtmlOptions {
    bool AllFolder = true;
    int KanjiCode = 0;  // 0 Shift_JIS, 1 JIS (ISO-2022-JP), 2 EUC-JP, 3 UTF-8
    int ReturnCode = 0; // 0 CR LF, 1 LF, 2 CR
    std::string Title;
    // Windows colour values: red in the lowest byte, then green, then blue.
    std::int32_t BGColor = 16777215;
    std::int32_t TextColor = 0;
    std::int32_t LinkColor = 16711680;
    std::int32_t VLinkColor = 8388608;
    int FolderName = 0; // 0 h1, 1 h2, 2 h3, 3 bold
    bool BoldItem = false;
    // Off: the items' commands are left out of the page.
    bool ShowCmd = false;
};

// The ExportHtml settings; the title is left empty (see DefaultHtmlTitle). Out-of-range
// indices read as the first choice.
TExportHtmlOptions ReadExportHtmlOptions(TSettings& settings);
// Stores them as the dialog does when it closes (AllFolder as the index of the choice).
void WriteExportHtmlOptions(TSettings& settings, const TExportHtmlOptions& options);

// "Hollyvine - " followed by the document's file name without directory.
std::string DefaultHtmlTitle(std::string_view documentPath);

// The charset name of a KanjiCode index.
std::string_view HtmlCharset(int kanjiCode);

// One piece of the page in the chosen encoding: half-width katakana widened first; a character
// without a form in the encoding written as "&#NNN;"; JIS returns to one-byte mode at the end.
std::string EncodeHtmlPiece(std::string_view utf8, int kanjiCode);

// The bytes of the page for source. Each folder's items are first sorted in order (which
// changes the document's order too). URLs and command lines are escaped in their attributes.
std::string BuildHtmlPage(THVFolder& source, const TExportHtmlOptions& options, const TItemOrder& order);

// Writes BuildHtmlPage to path safely (a temporary file renamed over it); a failure leaves any
// old file. Throws EFileError.
void ExportHtmlFile(const std::string& path, THVFolder& source, const TExportHtmlOptions& options,
                    const TItemOrder& order);

} // namespace hv

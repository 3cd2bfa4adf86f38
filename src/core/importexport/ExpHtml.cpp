#include "importexport/ExpHtml.h"

#include "model/HVFolder.h"
#include "model/ItemOrder.h"
#include "platform/SafeFile.h"
#include "settings/Settings.h"
#include "text/Encoding.h"
#include "text/FullWidth.h"
#include "text/HtmlEscape.h"
#include "text/KanjiDetect.h"

#include <array>
#include <cstdio>
#include <vector>

namespace hv {

namespace {

constexpr std::array<std::string_view, 3> kLineEnds = {"\r\n", "\n", "\r"};

int InRange(int value, int count) {
    return value >= 0 && value < count ? value : 0;
}

std::string Colour(std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    char text[8];
    std::snprintf(text, sizeof text, "#%.2x%.2x%.2x", v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
    return text;
}

// The escaped title of a command, its first "&amp;" before a one-byte character turned into
// that character underlined (the accelerator).
std::string CommandCaption(std::string_view title) {
    std::string text = EscapeHtml(title);
    constexpr std::string_view kAmp = "&amp;";
    for (std::size_t pos = text.find(kAmp); pos != std::string::npos; pos = text.find(kAmp, pos + 1)) {
        const std::size_t next = pos + kAmp.size();
        if (next >= text.size()) {
            break;
        }
        std::size_t length = 0;
        const auto b = static_cast<unsigned char>(text[next]);
        if (b < 0x80) {
            length = 1;
        } else if (b == 0xEF && next + 2 < text.size()) {
            // half-width katakana U+FF61..U+FF9F are one byte in Shift_JIS
            const auto b1 = static_cast<unsigned char>(text[next + 1]);
            const auto b2 = static_cast<unsigned char>(text[next + 2]);
            if ((b1 == 0xBD && b2 >= 0xA1) || (b1 == 0xBE && b2 <= 0x9F)) {
                length = 3;
            }
        }
        if (length != 0) {
            text.replace(pos, kAmp.size() + length, "<u>" + text.substr(next, length) + "</u>");
            break;
        }
    }
    return text;
}

class THtmlWriter {
public:
    THtmlWriter(const TExportHtmlOptions& options, const TItemOrder& order)
        : m_Options(options), m_Order(order), m_NL(kLineEnds[static_cast<std::size_t>(options.ReturnCode)]) {}

    std::string Write(THVFolder& source) {
        const int kanji = m_Options.KanjiCode;
        Piece("<html><head>");
        Piece("<title>" + EscapeHtml(m_Options.Title) + "</title>" + m_NL);
        Piece("<meta http-equiv=Content-type content=\"text/html; charset=");
        Piece(HtmlCharset(kanji));
        Piece("\">" + m_NL);
        Piece("</head>" + m_NL + m_NL);
        Piece("<body bgcolor=" + Colour(m_Options.BGColor));
        Piece(" text=" + Colour(m_Options.TextColor));
        Piece(" link=" + Colour(m_Options.LinkColor));
        Piece(" vlink=" + Colour(m_Options.VLinkColor));
        Piece("><dl>" + m_NL);
        WriteTree(source);
        Piece("</dl></body></html>" + m_NL);
        return std::move(m_Out);
    }

private:
    void Piece(std::string_view text) { m_Out += EncodeHtmlPiece(text, m_Options.KanjiCode); }

    // Without recursion, so no depth of nesting exhausts the stack.
    void WriteTree(THVFolder& source) {
        std::vector<std::pair<THVFolder*, int>> stack; // a folder and its next child
        WriteFolderHead(source);
        stack.emplace_back(&source, 0);
        while (!stack.empty()) {
            auto& [folder, next] = stack.back();
            if (next < folder->ChildCount()) {
                THVFolder* child = folder->Child(next++);
                Piece("<dt>" + m_NL);
                WriteFolderHead(*child);
                stack.emplace_back(child, 0);
            } else {
                Piece("</dl>" + m_NL);
                stack.pop_back();
            }
        }
    }

    void WriteFolderHead(THVFolder& folder) {
        static constexpr std::array<std::string_view, 3> kHeadings = {"h1", "h2", "h3"};
        const std::string name = EscapeHtml(folder.Name());
        if (m_Options.FolderName < 3) {
            const std::string tag(kHeadings[static_cast<std::size_t>(m_Options.FolderName)]);
            Piece("<" + tag + ">" + name + "</" + tag + ">");
        } else {
            Piece("<b>" + name + "</b><br><br>");
        }
        Piece(m_NL + "<dl>" + m_NL);
        folder.List().Sort(m_Order);
        for (const auto& item : folder.List()) {
            WriteItem(*item);
        }
    }

    void WriteItem(const THVItem& item) {
        const std::string url = EscapeHtml(item.GetURL());
        std::string link = "<dt>";
        link += m_Options.BoldItem ? "<b>" : "";
        link += "<a href=\"" + url + "\" title=\"" + url + "\">" + EscapeHtml(item.GetName()) + "</a>";
        link += m_Options.BoldItem ? "</b>" : "";
        Piece(link + m_NL);
        if (item.GetMemo().empty()) {
            Piece("<br>");
        } else {
            std::string memo = EscapeHtml(item.GetMemo());
            for (std::size_t pos = memo.find("\r\n"); pos != std::string::npos; pos = memo.find("\r\n", pos)) {
                memo.replace(pos, 2, "<br>");
            }
            Piece("<dd>" + memo);
        }
        Piece(m_NL + "<br>" + m_NL);
        const TCmdList& commands = item.GetCommands();
        if (m_Options.ShowCmd && commands.Count() > 0) {
            Piece("<dd>");
            for (const TCmdItem& command : commands) {
                const std::string line = EscapeHtml(command.CommandLine);
                Piece("<a href=\"" + line + "\" title=\"" + line + "\">" + CommandCaption(command.Title) + "</a><br>" +
                      m_NL);
            }
            Piece("<br>" + m_NL);
        }
    }

    const TExportHtmlOptions& m_Options;
    const TItemOrder& m_Order;
    std::string m_NL;
    std::string m_Out;
};

} // namespace

TExportHtmlOptions ReadExportHtmlOptions(TSettings& settings) {
    TExportHtmlOptions options;
    options.AllFolder = settings.Get(opt::ExportHtml::AllFolder);
    options.KanjiCode = InRange(settings.Get(opt::ExportHtml::KanjiCode), 4);
    options.ReturnCode = InRange(settings.Get(opt::ExportHtml::ReturnCode), 3);
    options.BGColor = settings.Get(opt::ExportHtml::BGColor);
    options.TextColor = settings.Get(opt::ExportHtml::TextColor);
    options.LinkColor = settings.Get(opt::ExportHtml::LinkColor);
    options.VLinkColor = settings.Get(opt::ExportHtml::VLinkColor);
    options.FolderName = InRange(settings.Get(opt::ExportHtml::FolderName), 4);
    options.BoldItem = settings.Get(opt::ExportHtml::BoldItem);
    options.ShowCmd = settings.Get(opt::ExportHtml::ShowCmd);
    return options;
}

void WriteExportHtmlOptions(TSettings& settings, const TExportHtmlOptions& options) {
    settings.Key(opt::ExportHtml::AllFolder).SetAsInteger(options.AllFolder ? 1 : 0);
    settings.Set(opt::ExportHtml::KanjiCode, std::int32_t{options.KanjiCode});
    settings.Set(opt::ExportHtml::ReturnCode, std::int32_t{options.ReturnCode});
    settings.Set(opt::ExportHtml::BGColor, options.BGColor);
    settings.Set(opt::ExportHtml::TextColor, options.TextColor);
    settings.Set(opt::ExportHtml::LinkColor, options.LinkColor);
    settings.Set(opt::ExportHtml::VLinkColor, options.VLinkColor);
    settings.Set(opt::ExportHtml::FolderName, std::int32_t{options.FolderName});
    settings.Set(opt::ExportHtml::BoldItem, options.BoldItem);
    settings.Set(opt::ExportHtml::ShowCmd, options.ShowCmd);
}

std::string DefaultHtmlTitle(std::string_view documentPath) {
    const std::size_t slash = documentPath.rfind('/');
    return "Hollyvine - " +
           std::string(slash == std::string_view::npos ? documentPath : documentPath.substr(slash + 1));
}

std::string_view HtmlCharset(int kanjiCode) {
    static constexpr std::array<std::string_view, 4> kCharsets = {"shift_jis", "iso-2022-jp", "euc-jp", "utf-8"};
    return kCharsets[static_cast<std::size_t>(InRange(kanjiCode, 4))];
}

std::string EncodeHtmlPiece(std::string_view utf8, int kanjiCode) {
    const std::string wide = WidenHalfWidthKatakana(utf8);
    switch (InRange(kanjiCode, 4)) {
    case 1:
        return EncodeKanjiText(wide, TKanjiCode::kcJis);
    case 2:
        return EncodeKanjiText(wide, TKanjiCode::kcEuc);
    case 3:
        return EncodeUtf8(wide);
    default:
        return EncodeKanjiText(wide, TKanjiCode::kcSjis);
    }
}

std::string BuildHtmlPage(THVFolder& source, const TExportHtmlOptions& options, const TItemOrder& order) {
    TExportHtmlOptions checked = options;
    checked.KanjiCode = InRange(options.KanjiCode, 4);
    checked.ReturnCode = InRange(options.ReturnCode, 3);
    checked.FolderName = InRange(options.FolderName, 4);
    THtmlWriter writer(checked, order);
    return writer.Write(source);
}

void ExportHtmlFile(const std::string& path, THVFolder& source, const TExportHtmlOptions& options,
                    const TItemOrder& order) {
    WriteFileSafely(path, BuildHtmlPage(source, options, order));
}

} // namespace hv

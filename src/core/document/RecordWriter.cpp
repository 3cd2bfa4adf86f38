#include "document/RecordWriter.h"

#include "model/DateTime.h"
#include "model/HVFolder.h"
#include "model/HVItems.h"

#include <cstdio>

namespace hv {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

// A record line can hold no line break: CR and LF inside a value are written as blanks.
void AppendLineValue(std::string& out, std::string_view value) {
    if (value.find_first_of("\r\n") == std::string_view::npos) {
        out += value;
        return;
    }
    for (char c : value) {
        out += (c == '\r' || c == '\n') ? ' ' : c;
    }
}

void AppendLine(std::string& out, std::string_view key, std::string_view value) {
    out += key;
    AppendLineValue(out, value);
    out += kLineEnd;
}

// TAB separates the parts of a command, so a TAB inside one is written as a blank too.
void AppendCommandPart(std::string& out, std::string_view part) {
    for (char c : part) {
        out += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
    }
}

void AppendInt(std::string& out, long long value) {
    char buffer[24];
    int n = std::snprintf(buffer, sizeof buffer, "%lld", value);
    out.append(buffer, static_cast<std::size_t>(n));
}

void AppendItemLines(std::string& out, const THVItem& item) {
    out += "[Item]\r\n";
    AppendLine(out, "Title=", item.GetName());
    AppendLine(out, "URL=", item.GetURL());
    if (!item.GetMemo().empty()) {
        out += "Memo=";
        out += EncodeMemo(item.GetMemo());
        out += kLineEnd;
    }
    if (item.GetLastVisited() != 0) {
        AppendLine(out, "LastVisited=", FormatDocDateTime(item.GetLastVisited()));
    }
    if (!item.GetIconFile().empty()) {
        out += "Icon=";
        AppendLineValue(out, item.GetIconFile());
        // The index is left out when it is 0, unless the file name itself holds a comma: then
        // an explicit ",0" keeps the reader from taking part of the name for the index.
        const bool commaInName = item.GetIconFile().find(',') != std::string::npos;
        if (item.GetIconIndex() != 0 || commaInName) {
            out += ',';
            AppendInt(out, item.GetIconIndex());
        }
        out += kLineEnd;
    }
    int n = 0;
    for (const TCmdItem& cmd : item.GetCommands()) {
        out += "Cmd";
        AppendInt(out, n++);
        out += '=';
        AppendCommandPart(out, cmd.Title);
        out += '\t';
        AppendCommandPart(out, cmd.CommandLine);
        if (cmd.UpdateLastVisited) {
            out += "\tV";
        } else if (cmd.CommandLine.empty()) {
            // "Title<TAB>" alone would end the command list when read back and lose every
            // later command; a second TAB keeps the empty command line readable.
            out += '\t';
        }
        out += kLineEnd;
    }
    if (!item.GetSchedule().empty()) {
        AppendLine(out, "Schedule=", item.GetSchedule());
    }
    out += kLineEnd;
}

void AppendFolderHeader(std::string& out, const THVFolder& folder, int level) {
    out += "[Folder]\r\nLevel=";
    AppendInt(out, level);
    out += kLineEnd;
    AppendLine(out, "Name=", folder.Name());
    out += kLineEnd;
}

void AppendItems(std::string& out, const THVFolder& folder) {
    for (const auto& item : folder.List()) {
        AppendItemLines(out, *item);
    }
}

} // namespace

std::string EncodeMemo(std::string_view memo) {
    std::string out;
    out.reserve(memo.size() + 8);
    std::size_t pos = 0;
    bool first = true;
    while (true) {
        std::size_t end = memo.find_first_of("\r\n", pos);
        std::string_view line = memo.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (!first) {
            out += ',';
        }
        first = false;
        if (!line.empty()) {
            out += '"';
            for (char c : line) {
                if (c == '"') {
                    out += '"';
                }
                out += c;
            }
            out += '"';
        }
        if (end == std::string_view::npos) {
            break;
        }
        pos = end + ((memo[end] == '\r' && end + 1 < memo.size() && memo[end + 1] == '\n') ? 2 : 1);
    }
    return out;
}

void AppendItemRecord(std::string& out, const THVItem& item) {
    AppendItemLines(out, item);
}

void AppendFolderRecords(std::string& out, const THVFolder& folder, int level) {
    ForEachFolder(folder, [&out, level](const THVFolder& f, int depth) {
        AppendFolderHeader(out, f, level + depth);
        AppendItems(out, f);
    });
}

std::string GetText(const THVItem& item) {
    std::string text;
    AppendItemRecord(text, item);
    return text;
}

std::string GetText(const THVList& list, int level) {
    std::string text;
    if (list.Node() != nullptr) {
        AppendFolderRecords(text, *list.Node(), level);
    }
    return text;
}

std::string BuildDocumentBody(const THVFolder& root) {
    std::string out;
    ForEachFolder(root, [&out](const THVFolder& f, int depth) {
        if (depth > 0) {
            AppendFolderHeader(out, f, depth);
        }
        AppendItems(out, f);
    });
    return out;
}

bool ForEachBodyPiece(const THVFolder& root, const std::function<bool(std::string_view)>& take) {
    constexpr std::size_t kPieceSize = 64 << 10;
    std::string piece;
    piece.reserve(kPieceSize + 4096);
    bool going = true;
    const auto handOver = [&piece, &going, &take](std::size_t atLeast) {
        if (going && piece.size() >= atLeast) {
            going = take(piece);
            piece.clear();
        }
    };
    ForEachFolder(root, [&](const THVFolder& f, int depth) {
        if (!going) {
            return;
        }
        if (depth > 0) {
            AppendFolderHeader(piece, f, depth);
        }
        for (const auto& item : f.List()) {
            AppendItemLines(piece, *item);
            handOver(kPieceSize);
            if (!going) {
                return;
            }
        }
    });
    handOver(1);
    return going;
}

} // namespace hv

#include "model/Names.h"

#include "model/HVFolder.h"
#include "model/HVItems.h"
#include "text/TextUtil.h"

namespace hv {

std::string DuplicateFolderMessage(std::string_view name) {
    return "フォルダ名 '" + std::string(name) +
           "' は既に使われています。\n\n１つのフォルダに同じ名前のサブフォルダを複数作ることはできません。半角アル"
           "ファベットの大文字・小文字は同一視されます。";
}

std::string DuplicateItemMessage(std::string_view name) {
    return "アイテム名 '" + std::string(name) +
           "' は既に使われています。\n\n１つのフォルダに同じ名前のアイテムを複数作ることはできません。半角アルファ"
           "ベットの大文字・小文字は同一視されます。";
}

std::string FolderNameWithYen(std::string_view name) {
    std::string result;
    result.reserve(name.size());
    for (const char c : name) {
        if (c == '\\') {
            result += kFullWidthYen;
        } else {
            result += c;
        }
    }
    return result;
}

std::string CleanItemName(std::string_view text) {
    return StripControlChars(text);
}

std::string CleanFolderName(std::string_view text) {
    return FolderNameWithYen(StripControlChars(text));
}

std::string CheckFolderName(const THVFolder& parent, const THVFolder* self, std::string_view name) {
    if (name.empty()) {
        return kEmptyNameMessage;
    }
    const THVFolder* same = parent.FindChild(name);
    if (same != nullptr && same != self) {
        return DuplicateFolderMessage(name);
    }
    return {};
}

std::string CheckItemName(const THVList& list, const THVItem* self, std::string_view name) {
    if (name.empty()) {
        return kEmptyNameMessage;
    }
    if (!list.IsNameFree(self, name)) {
        return DuplicateItemMessage(name);
    }
    return {};
}

std::string MemoForEditing(std::string_view memo) {
    std::string text;
    text.reserve(memo.size());
    for (std::size_t i = 0; i < memo.size(); ++i) {
        if (memo[i] == '\r' && i + 1 < memo.size() && memo[i + 1] == '\n') {
            continue;
        }
        text += memo[i];
    }
    return text;
}

std::string MemoForStoring(std::string_view text) {
    const std::string plain = MemoForEditing(text);
    std::string memo;
    memo.reserve(plain.size() + plain.size() / 16);
    for (const char c : plain) {
        if (c == '\n') {
            memo += '\r';
        }
        memo += c;
    }
    return memo;
}

} // namespace hv

#pragma once

#include "properties/AccessTimeText.h"

#include <QString>
#include <QStringList>

namespace hv {

class THVItem;
class THVList;

// What a folder hint shows: the name, "(count)", and the first names of its items; past 8
// items only 7 names and a last line "…".
struct TFolderHintText {
    QString Name;
    QString Count;
    QStringList Names;
    bool More = false;
};
inline constexpr int kFolderHintNames = 8;
TFolderHintText FolderHintText(const QString& name, const THVList* items);

// What an item hint shows: the name, the URL, "アクセス " and the access time when the item was
// ever visited, the memo without its trailing line breaks, and the commands' titles.
struct TItemHintText {
    QString Name;
    QString URL;
    QString Access;
    QString Memo;
    QStringList Commands;
};
TItemHintText ItemHintText(const THVItem& item, TDateTime now, const TAccessTimeOptions& options);

} // namespace hv

#include "mainwindow/HintText.h"

#include "model/HVItems.h"
#include "model/Names.h"

namespace hv {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TFolderHintText FolderHintText(const QString& name, const THVList* items) {
    TFolderHintText hint;
    hint.Name = name;
    const int count = items == nullptr ? 0 : items->Count();
    hint.Count = QStringLiteral("(%1)").arg(count);
    const int shown = count <= kFolderHintNames ? count : kFolderHintNames - 1;
    for (int i = 0; i < shown; ++i) {
        hint.Names << Q(items->Items(i)->GetName());
    }
    hint.More = count > kFolderHintNames;
    return hint;
}

TItemHintText ItemHintText(const THVItem& item, TDateTime now, const TAccessTimeOptions& options) {
    TItemHintText hint;
    hint.Name = Q(item.GetName());
    hint.URL = Q(item.GetURL());
    if (item.GetLastVisited() != 0) {
        hint.Access = QStringLiteral("アクセス ") + Q(AccessTimeText(item.GetLastVisited(), now, options));
    }
    QString memo = Q(MemoForEditing(item.GetMemo()));
    while (memo.endsWith(QLatin1Char('\n')) || memo.endsWith(QLatin1Char('\r'))) {
        memo.chop(1);
    }
    hint.Memo = memo;
    for (const TCmdItem& command : item.GetCommands()) {
        hint.Commands << Q(command.Title);
    }
    return hint;
}

} // namespace hv

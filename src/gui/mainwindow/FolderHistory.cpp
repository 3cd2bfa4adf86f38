#include "mainwindow/FolderHistory.h"

#include "model/HVFolder.h"

#include <algorithm>

namespace hv {

void TFolderHistory::Push(THVFolder* folder) {
    ++m_Position;
    m_Entries.resize(static_cast<std::size_t>(m_Position));
    m_Entries.push_back(folder);
    if (m_Position >= kMaxEntries) {
        m_Entries.erase(m_Entries.begin());
        --m_Position;
    }
}

THVFolder* TFolderHistory::At(int index) const {
    if (index < 0 || index > LastIndex()) {
        return nullptr;
    }
    return m_Entries[static_cast<std::size_t>(index)];
}

void TFolderHistory::Forget(const THVFolder* folder) {
    for (THVFolder*& entry : m_Entries) {
        if (entry != nullptr && entry->IsInside(folder)) {
            entry = nullptr;
        }
    }
}

std::vector<int> TFolderHistory::MenuEntries(bool back) const {
    std::vector<int> entries;
    if (back) {
        for (int i = m_Position - 1; i >= std::max(m_Position - kMenuRows, 0); --i) {
            entries.push_back(i);
        }
    } else {
        for (int i = m_Position + 1; i <= std::min(m_Position + kMenuRows, LastIndex()); ++i) {
            entries.push_back(i);
        }
    }
    return entries;
}

QString HistoryMenuCaption(const QString& name, int k) {
    QChar key;
    if (k < 9) {
        key = QLatin1Char(static_cast<char>('1' + k));
    } else if (k == 9) {
        key = QLatin1Char('0');
    } else if (k < 24) {
        key = QLatin1Char(static_cast<char>('A' + (k - 10)));
    } else {
        key = QLatin1Char(static_cast<char>('P' + (k - 24)));
    }
    QString caption = name;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return caption + QStringLiteral("(&") + key + QLatin1Char(')');
}

void TFolderHistory::Clear() {
    m_Entries.clear();
    m_Position = -1;
}

} // namespace hv

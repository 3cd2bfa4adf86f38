#include "mainwindow/FolderHistory.h"

#include "model/HVFolder.h"

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

void TFolderHistory::Clear() {
    m_Entries.clear();
    m_Position = -1;
}

} // namespace hv

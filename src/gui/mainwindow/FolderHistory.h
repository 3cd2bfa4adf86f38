#pragma once

#include <QString>

#include <vector>

namespace hv {

class THVFolder;

// The folders shown one after another, for back and forward. An entry whose folder was deleted
// stays in place, empty (nullptr); at most kMaxEntries are kept, the oldest going first.
class TFolderHistory {
public:
    static constexpr int kMaxEntries = 33;
    // Rows of a back or forward drop-down menu.
    static constexpr int kMenuRows = 16;

    const std::vector<THVFolder*>& Entries() const { return m_Entries; }
    // -1 while the history is empty.
    int Position() const { return m_Position; }
    int LastIndex() const { return static_cast<int>(m_Entries.size()) - 1; }
    bool CanGoBack() const { return m_Position >= 1; }
    bool CanGoForward() const { return m_Position < LastIndex(); }

    // A folder was shown: every forward entry is dropped and folder becomes the current one.
    void Push(THVFolder* folder);
    // The folder at index, or nullptr when index is out of range or its entry is empty.
    THVFolder* At(int index) const;
    // Makes index the current position (At(index) must be a folder).
    void SetPosition(int index) { m_Position = index; }
    // Empties every entry of folder and of the folders below it.
    void Forget(const THVFolder* folder);
    void Clear();
    // The indexes a drop-down lists, nearest first: back from the position - 1 down, forward
    // from the position + 1 up, at most kMenuRows each.
    std::vector<int> MenuEntries(bool back) const;

private:
    std::vector<THVFolder*> m_Entries;
    int m_Position = -1;
};

// A row of the history drop-down menus: the name with "&" doubled and the accelerator of row k
// (1-9, 0, then A-Z without O).
QString HistoryMenuCaption(const QString& name, int k);

} // namespace hv

#pragma once

#include "exchange/DropEffect.h"
#include "exchange/Paste.h"

#include <QClipboard>
#include <QObject>

class QAction;
class QMenu;
class QMimeData;

namespace hv {

class THVFolder;
class THVWindow;
class TSettings;

// Where pasted data comes from: the X selection behind it can be asked directly for what Qt
// does not list.
enum class TPasteSource { Clipboard, Drop, Other };

// What a paste of mime brings, taken from the best format it offers: own, text/x-moz-url,
// _NETSCAPE_URL, then text/uri-list (web links, or files of this machine). A format whose data
// cannot be had counts as absent.
TPasteData ReadPasteData(const QMimeData& mime, TPasteSource source = TPasteSource::Other);
// The best format mime offers, for the effect of a drop.
TDropFormat PreferredDropFormat(const QMimeData& mime);

// The clipboard commands of the main window: copy, cut and paste of items in the item menus,
// paste in the folder tree's context menu, and the paste that drops share.
class TClipboardActions : public QObject {
    Q_OBJECT

public:
    TClipboardActions(THVWindow& window, TSettings* settings);

    QAction* actCopyToCB = nullptr;
    QAction* actCutToCB = nullptr;
    QAction* actPasteFromCB = nullptr;
    // The tree's context menu: paste into the folder the menu was opened on.
    QAction* mniPasteFromCB3 = nullptr;

    // The clipboard to use (tests take their own mode); the system clipboard by default.
    void SetClipboardMode(QClipboard::Mode mode) { m_Mode = mode; }

    // Adds the three item commands to a menu of items.
    void FillItemMenu(QMenu* menu);

    void CopyToClipboard();
    void CutToClipboard();
    // Pastes the clipboard's data into folder (nullptr: the selected folder).
    bool PasteFromClipboard(THVFolder* folder = nullptr);
    // Pastes data into folder, with the views let go of the tree meanwhile; the document is
    // modified when anything was made. Returns whether anything was.
    bool Paste(const QMimeData* mime, THVFolder* folder, TPasteSource source = TPasteSource::Other);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateActions();

    THVWindow& m_Window;
    TSettings* m_Settings;
    QClipboard::Mode m_Mode = QClipboard::Clipboard;
};

} // namespace hv

#include "document/DocumentCommands.h"

#include "app/FileDialogs.h"
#include "document/FilePropDlg.h"
#include "document/HVDocument.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QStyle>
#include <QWidget>

namespace hv {

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TDocumentCommands::TDocumentCommands(THVDocument& document, QWidget* window, TUserPrompts* prompts, TSettings* settings)
    : QObject(window), m_Document(document), m_Window(window), m_OwnPrompts(window),
      m_Prompts(prompts != nullptr ? *prompts : m_OwnPrompts), m_Settings(settings) {
    auto make = [window](const char* name, const QString& text, const QString& icon, QKeySequence key = {}) {
        auto* action = new QAction(QIcon::fromTheme(icon), text, window);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(key);
        window->addAction(action);
        return action;
    };
    actNew =
        make("actNew", QStringLiteral("新規(&N)"), QStringLiteral("document-new"), QKeySequence(Qt::CTRL | Qt::Key_N));
    actOpen = make("actOpen", QStringLiteral("開く(&O)..."), QStringLiteral("document-open"),
                   QKeySequence(Qt::CTRL | Qt::Key_O));
    actSave = make("actSave", QStringLiteral("上書き保存(&S)"), QStringLiteral("document-save"),
                   QKeySequence(Qt::CTRL | Qt::Key_S));
    mniSaveAs = make("mniSaveAs", QStringLiteral("名前を付けて保存(&A)..."), QStringLiteral("document-save-as"));
    actMerge = make("actMerge", QStringLiteral("マージ(&M)..."), QString());
    actFileProp = make("actFileProp", QStringLiteral("プロパティ(&T)..."), QStringLiteral("document-properties"));
    actExit = make("actExit", QStringLiteral("終了(&X)"), QStringLiteral("application-exit"));
    actExit->setMenuRole(QAction::QuitRole);

    connect(actNew, &QAction::triggered, this, &TDocumentCommands::New);
    connect(actOpen, &QAction::triggered, this, &TDocumentCommands::Open);
    connect(actSave, &QAction::triggered, this, [this] { m_Document.Save(); });
    connect(mniSaveAs, &QAction::triggered, this, &TDocumentCommands::SaveAs);
    connect(actMerge, &QAction::triggered, this, &TDocumentCommands::Merge);
    connect(actFileProp, &QAction::triggered, this, &TDocumentCommands::FileProperties);
    connect(actExit, &QAction::triggered, m_Window, &QWidget::close);

    mniRecentFiles = new QMenu(QStringLiteral("最近開いたファイル(&R)"), window);
    mniRecentFiles->setObjectName(QStringLiteral("mniRecentFiles"));
    RecentFilePopup = new QMenu(window);
    RecentFilePopup->setObjectName(QStringLiteral("RecentFilePopup"));
    for (QMenu* menu : {mniRecentFiles, RecentFilePopup}) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { FillRecentMenu(menu); });
    }
}

void TDocumentCommands::FillMenu(QMenu* menu) const {
    menu->addAction(actNew);
    menu->addAction(actOpen);
    menu->addAction(actSave);
    menu->addAction(mniSaveAs);
    menu->addSeparator();
    menu->addAction(actMerge);
    menu->addSeparator();
    menu->addAction(actFileProp);
    menu->addSeparator();
    menu->addMenu(mniRecentFiles);
    menu->addSeparator();
    menu->addAction(actExit);
}

void TDocumentCommands::FillRecentMenu(QMenu* menu) {
    menu->clear();
    const std::vector<std::string> entries = m_Document.RecentFiles().MenuEntries();
    if (entries.empty()) {
        menu->addAction(Q(std::string(kNoRecentFiles)))->setEnabled(false);
    }
    // The document icon: the theme's, else the style's file icon, so the entries never go bare.
    const QIcon icon =
        QIcon::fromTheme(QStringLiteral("text-x-generic"), m_Window->style()->standardIcon(QStyle::SP_FileIcon));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string path = entries[i];
        QAction* action = menu->addAction(icon, Q(TRecentFiles::MenuCaption(path, static_cast<int>(i))));
        action->setStatusTip(Q(TRecentFiles::MenuHint(path)));
        connect(action, &QAction::triggered, this, [this, path] { m_Document.OpenRecent(path); });
    }
    if (menu == RecentFilePopup) {
        menu->addSeparator();
        QAction* other = menu->addAction(actOpen->icon(), QStringLiteral("その他のファイル(&T)..."));
        other->setObjectName(QStringLiteral("mniOtherFile"));
        connect(other, &QAction::triggered, this, &TDocumentCommands::Open);
    }
}

void TDocumentCommands::New() {
    if (m_Document.SavePrompt()) {
        m_Document.New();
    }
}

void TDocumentCommands::Open() {
    if (auto path = TFileDialogs::OpenDocument(m_Window, QStringLiteral("ファイルを開く"))) {
        m_Document.OpenAfterPrompt(FullFileName(LocalPath(*path)));
    }
}

void TDocumentCommands::SaveAs() {
    if (auto path = AskSaveFileName()) {
        m_Document.SaveAs(FullFileName(*path));
    }
}

std::optional<std::string> TDocumentCommands::AskSaveFileName() {
    const auto path = TFileDialogs::SaveDocument(m_Window, QStringLiteral("ファイルに名前を付けて保存"),
                                                 QFile::decodeName(m_Document.FileName().c_str()));
    if (!path) {
        return std::nullopt;
    }
    return LocalPath(*path);
}

void TDocumentCommands::Merge() {
    if (auto path = TFileDialogs::OpenDocument(m_Window, QStringLiteral("マージするファイルの選択"))) {
        m_Document.Merge(FullFileName(LocalPath(*path)));
    }
}

bool TDocumentCommands::FileProperties() {
    TFilePropDlg dialog(m_Prompts, m_Settings, m_Window);
    dialog.Load(m_Document.Properties(), m_Document.Password());
    const bool confirmed = m_RunFilePropDialog ? m_RunFilePropDialog(dialog) : dialog.exec() == QDialog::Accepted;
    return confirmed && dialog.Store(m_Document);
}

bool TDocumentCommands::OpenDropped(const QString& path) {
    const std::string local = LocalPath(path);
    if (!IsDocumentFileName(local)) {
        return false;
    }
    return m_Document.OpenAfterPrompt(FullFileName(local));
}

} // namespace hv

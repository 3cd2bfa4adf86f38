#include "GuiTestSupport.h"
#include "app/FileDialogs.h"
#include "app/QtUserPrompts.h"
#include "document/DocumentCommands.h"
#include "document/FilePropDlg.h"
#include "document/PasswordDlg.h"
#include "mainwindow/HVWindow.h"
#include "settings/RestorePos.h"
#include "settings/Settings.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using hv::TFilePropDlg;
using hv::THVWindow;
using hv::TPasswordDlg;
using hv::test::TScriptedPrompts;

namespace {

// Two folders (the root and "F") and two items.
const QByteArray kSmallDocument = "# Holly Vine Document 1\r\n\r\n"
                                  "[Item]\r\nTitle=A\r\nURL=http://a/\r\n\r\n"
                                  "[Folder]\r\nLevel=1\r\nName=F\r\n\r\n"
                                  "[Item]\r\nTitle=B\r\nURL=http://b/\r\n\r\n";

template <class T> T* Find(QWidget& parent, const char* name) {
    T* child = parent.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no widget %s", name);
    }
    return child;
}

QString LabelText(QWidget& dialog, const char* name) {
    return Find<QLabel>(dialog, name)->text();
}

// The password dialog as a user fills it: both fields typed over, then OK.
TFilePropDlg::TPasswordRunner TypePasswords(QString first, QString second) {
    return [first, second](TPasswordDlg& dialog) {
        Find<QLineEdit>(dialog, "edtPassword1")->setText(first);
        Find<QLineEdit>(dialog, "edtPassword2")->setText(second);
        return dialog.CheckOK();
    };
}

struct TFixture {
    TFixture() : Settings(Store) {
        Settings.Set(hv::opt::Window::TreeChangeDelay, std::int32_t{0});
        Window = std::make_unique<THVWindow>(&Settings, &Prompts);
    }
    hv::THVDocument& Doc() { return Window->Document(); }
    hv::TDocumentCommands& Commands() { return Window->DocumentCommands(); }
    QString WriteFile(const char* name, const QByteArray& bytes) {
        const QString path = Dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    bool Open(const QString& path) { return Doc().Open(hv::FullFileName(path.toStdString())); }
    QString SaveWithPassword(const char* name, const std::string& password) {
        const QString path = Dir.filePath(QString::fromLatin1(name));
        Doc().SetPassword(password);
        return Doc().SaveAs(hv::FullFileName(path.toStdString())) ? path : QString();
    }

    QTemporaryDir Dir;
    hv::TMemoryRegistryStore Store;
    hv::TSettings Settings;
    TScriptedPrompts Prompts;
    std::unique_ptr<THVWindow> Window;
};

} // namespace

class TFilePropDlgTest : public QObject {
    Q_OBJECT

private slots:
    void init() { hv::TFileDialogs::ClearAnswers(); }
    void propertiesShown_data();
    void propertiesShown();
    void passwordEntries_data();
    void passwordEntries();
    void passwordFieldsAreMaskedAndLimited();
    void okWritesThePasswordBack_data();
    void okWritesThePasswordBack();
    void savedWithPasswordReopensThroughTheGate();
    void gateInputBoxIsMasked();
    void positionHoldsOverOpeningsAndRestarts();
    void fixedSizeWithoutMinimiseOrMaximise();
    void saveQuestionHasTheQuestionIcon();
    void elidePath_data();
    void elidePath();
};

void TFilePropDlgTest::propertiesShown_data() {
    QTest::addColumn<bool>("saved");    // saved, then protected and modified
    QTest::addColumn<QString>("shown"); // state, password, folders, items
    QTest::newRow("unsaved") << false << QStringLiteral("変更されていません|設定されていません|1|0");
    QTest::newRow("saved, protected, modified") << true << QStringLiteral("変更されています|設定されています|2|2");
}

void TFilePropDlgTest::propertiesShown() {
    QFETCH(bool, saved);
    QFETCH(QString, shown);
    TFixture f;
    QString path;
    if (saved) {
        path = f.WriteFile("small.hv", kSmallDocument);
        QVERIFY(f.Open(path));
        f.Doc().SetPassword("pw");
    }
    QStringList seen; // the four lines, the file name, its tip, the title
    f.Commands().SetFilePropDialogRunner([&](TFilePropDlg& dialog) {
        dialog.show(); // the file name is fitted to the laid-out label
        if (QTest::qWaitForWindowExposed(&dialog)) {
            for (const char* name : {"lblModified", "lblPassword", "lblFolderCount", "lblItemCount", "lblFileName"}) {
                seen << LabelText(dialog, name);
            }
            seen << Find<QLabel>(dialog, "lblFileName")->toolTip() << dialog.windowTitle();
        }
        return false;
    });
    const bool wasModified = f.Doc().Modified();
    QVERIFY(!f.Commands().FileProperties());
    QCOMPARE(seen.size(), 7);
    QCOMPARE(seen.mid(0, 4).join(QLatin1Char('|')), shown);
    QCOMPARE(seen.at(6), QStringLiteral("ファイルのプロパティ"));
    if (saved) {
        QCOMPARE(seen.at(5), QFileInfo(path).canonicalFilePath());
        QVERIFY2(seen.at(4).endsWith(QStringLiteral("/small.hv")), qPrintable(seen.at(4)));
    } else {
        QCOMPARE(seen.at(4), QStringLiteral("（新規）"));
    }
    QCOMPARE(f.Doc().Modified(), wasModified);
    QVERIFY(f.Prompts.Seen.isEmpty());
}

void TFilePropDlgTest::passwordEntries_data() {
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("message");
    const QString mismatch = QStringLiteral("Hollyvine|同じパスワードを２回入力してください。");
    const QString longStored = QStringLiteral("abcdefghijklmnopqrst");
    QTest::newRow("set") << QString() << QStringLiteral("秘密pw") << QStringLiteral("秘密pw") << true << QString();
    QTest::newRow("mismatch") << QString() << QStringLiteral("abc") << QStringLiteral("abd") << false << mismatch;
    QTest::newRow("only one field changed")
        << QStringLiteral("old") << QStringLiteral("new") << QStringLiteral("old") << false << mismatch;
    QTest::newRow("removed") << QStringLiteral("old") << QString() << QString() << true << QString();
    QTest::newRow("line break refused") << QString() << QStringLiteral("a\nb") << QStringLiteral("a\nb") << false
                                        << QStringLiteral("Hollyvine|パスワードに改行は使えません。");
    QTest::newRow("a longer stored password survives") << longStored << longStored << longStored << true << QString();
}

void TFilePropDlgTest::passwordEntries() {
    QFETCH(QString, loaded);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, accepted);
    QFETCH(QString, message);
    TScriptedPrompts prompts;
    TPasswordDlg dialog(prompts);
    dialog.Load(loaded.toStdString());
    for (const auto& [name, typed] : {std::pair{"edtPassword1", first}, std::pair{"edtPassword2", second}}) {
        QCOMPARE(Find<QLineEdit>(dialog, name)->text(), loaded);
        Find<QLineEdit>(dialog, name)->setText(typed);
    }
    // OK through the button: a refused entry keeps the dialog open.
    dialog.show();
    QTest::mouseClick(Find<QPushButton>(dialog, "bbtOK"), Qt::LeftButton);
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(dialog.isVisible(), !accepted);
    QCOMPARE(prompts.Seen, message.isEmpty() ? QStringList() : QStringList{message});
    if (accepted) {
        QCOMPARE(QString::fromStdString(dialog.Password()), first);
    }
}

void TFilePropDlgTest::passwordFieldsAreMaskedAndLimited() {
    TScriptedPrompts prompts;
    TPasswordDlg dialog(prompts);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("パスワードの設定"));
    QCOMPARE(LabelText(dialog, "lblMessage"), QStringLiteral("パスワードを入力してください。\n（同じものを２回）"));
    dialog.Load("");
    for (const char* name : {"edtPassword1", "edtPassword2"}) {
        auto* edit = Find<QLineEdit>(dialog, name);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QVERIFY(!edit->testAttribute(Qt::WA_InputMethodEnabled));
        QTest::keyClicks(edit, QStringLiteral("12345678901234567890"));
        QCOMPARE(edit->text(), QStringLiteral("1234567890123456"));
    }
}

void TFilePropDlgTest::okWritesThePasswordBack_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QStringList>("entries"); // empty: the password dialog is not used; one entry: it is cancelled
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("modified");
    const QString pw = QStringLiteral("pw");
    QTest::newRow("set") << QString() << QStringList{pw, pw} << true << pw << true;
    QTest::newRow("removed") << pw << QStringList{QString(), QString()} << true << QString() << true;
    QTest::newRow("same one again") << pw << QStringList{pw, pw} << true << pw << false;
    QTest::newRow("nothing edited") << pw << QStringList() << true << pw << false;
    QTest::newRow("password dialog cancelled") << QString() << QStringList{pw} << true << QString() << false;
    QTest::newRow("properties cancelled") << QString() << QStringList{pw, pw} << false << QString() << false;
}

void TFilePropDlgTest::okWritesThePasswordBack() {
    QFETCH(QString, initial);
    QFETCH(QStringList, entries);
    QFETCH(bool, ok);
    QFETCH(QString, password);
    QFETCH(bool, modified);
    TFixture f;
    if (!initial.isEmpty()) {
        QVERIFY(!f.SaveWithPassword("p.hv", initial.toStdString()).isEmpty());
    }
    QString shownAfterEdit;
    f.Commands().SetFilePropDialogRunner([&](TFilePropDlg& dialog) {
        if (entries.size() == 2) {
            dialog.SetPasswordDialogRunner(TypePasswords(entries[0], entries[1]));
        } else if (entries.size() == 1) {
            dialog.SetPasswordDialogRunner([](TPasswordDlg&) { return false; });
        }
        if (!entries.isEmpty()) {
            QTest::mouseClick(Find<QPushButton>(dialog, "btnPassword"), Qt::LeftButton);
        }
        shownAfterEdit = LabelText(dialog, "lblPassword");
        return ok;
    });
    f.Window->DocumentCommands().actFileProp->trigger();
    QCOMPARE(QString::fromStdString(f.Doc().Password()), password);
    QCOMPARE(f.Doc().Modified(), modified);
    QCOMPARE(f.Window->windowTitle().endsWith(QStringLiteral("(更新)")), modified);
    // The dialog's line follows what it holds, also before OK.
    const bool held = entries.size() == 2 && entries[0] == entries[1] ? !entries[0].isEmpty() : !initial.isEmpty();
    QCOMPARE(shownAfterEdit, held ? QStringLiteral("設定されています") : QStringLiteral("設定されていません"));
}

void TFilePropDlgTest::savedWithPasswordReopensThroughTheGate() {
    TFixture f;
    const QString other = f.WriteFile("other.hv", kSmallDocument);
    f.Commands().SetFilePropDialogRunner([](TFilePropDlg& dialog) {
        dialog.SetPasswordDialogRunner(TypePasswords(QStringLiteral("Secret"), QStringLiteral("Secret")));
        return dialog.EditPassword();
    });
    QVERIFY(f.Commands().FileProperties());
    const QString locked = f.Dir.filePath(QStringLiteral("locked.hv"));
    hv::TFileDialogs::QueueAnswer(locked);
    f.Commands().mniSaveAs->trigger();
    QFile file(locked);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readLine().startsWith("# Hollyvine Document 2"));
    file.close();

    QVERIFY(f.Open(other));
    f.Doc().MarkModified();
    const QString before = f.Window->windowTitle();
    const std::string lockedPath = hv::FullFileName(locked.toStdString());
    for (const std::optional<std::string>& entry :
         {std::optional<std::string>("secret"), std::optional<std::string>()}) {
        f.Prompts.Seen.clear();
        f.Prompts.PasswordAnswers.push_back(entry);
        QVERIFY(!f.Doc().Open(lockedPath));
        QCOMPARE(f.Prompts.Seen,
                 (QStringList{QStringLiteral("Hollyvine|ファイル \"locked.hv\" "
                                             "はパスワードで保護されています。\nパスワードを入力してください。"),
                              QStringLiteral("Hollyvine|正しいパスワードが入力されませんでした。")}));
        QCOMPARE(f.Window->windowTitle(), before);
        QCOMPARE(QString::fromStdString(f.Doc().FileName()), QFileInfo(other).canonicalFilePath());
        QVERIFY(f.Doc().Modified());
    }

    f.Doc().New();
    f.Prompts.PasswordAnswers.push_back(std::string("Secret"));
    QVERIFY(f.Doc().Open(lockedPath));
    QCOMPARE(f.Window->windowTitle(), QStringLiteral("Hollyvine - locked.hv"));
    QCOMPARE(f.Doc().Password(), std::string("Secret"));

    // Removing the protection writes the unprotected form again.
    f.Commands().SetFilePropDialogRunner([](TFilePropDlg& dialog) {
        dialog.SetPasswordDialogRunner(TypePasswords(QString(), QString()));
        return dialog.EditPassword();
    });
    QVERIFY(f.Commands().FileProperties());
    f.Commands().actSave->trigger();
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readLine().startsWith("# Holly Vine Document 1"));
}

// The real input box of the window's prompts, typed into as a user would.
void TFilePropDlgTest::gateInputBoxIsMasked() {
    TFixture f;
    const QString path = f.SaveWithPassword("gate.hv", "pw");
    QVERIFY(!path.isEmpty());
    hv::TMemoryRegistryStore store;
    hv::TSettings settings(store);
    THVWindow window(&settings); // message boxes of its own
    bool masked = false;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, &window, [&] {
        if (auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            auto* edit = box->findChild<QLineEdit*>();
            masked = edit->echoMode() == QLineEdit::Password;
            QTest::keyClicks(edit, QStringLiteral("pw"));
            box->accept();
        }
    });
    poll.start();
    QVERIFY(window.Document().Open(hv::FullFileName(path.toStdString())));
    QVERIFY(masked);
}

void TFilePropDlgTest::positionHoldsOverOpeningsAndRestarts() {
    // The place stored is the client area's, given back as such: shown, closed and shown again
    // (a new settings object standing for a restart), the dialog stays where it was put.
    hv::TMemoryRegistryStore store;
    TScriptedPrompts prompts;
    QRect first;
    for (int opening = 0; opening < 4; ++opening) {
        hv::TSettings settings(store);
        TFilePropDlg dialog(prompts, &settings);
        if (opening == 0) {
            dialog.move(200, 150);
        }
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        if (opening == 0) {
            first = dialog.geometry();
        }
        QCOMPARE(dialog.geometry().topLeft(), first.topLeft());
        dialog.close();
    }
    hv::TSettings settings(store);
    QCOMPARE(hv::ReadRestorePos(settings.Registry(), hv::RestorePosKeyName, "FilePropDlgPos").value_or(""),
             QStringLiteral("%1,%2").arg(first.x()).arg(first.y()).toStdString());
}

void TFilePropDlgTest::fixedSizeWithoutMinimiseOrMaximise() {
    TScriptedPrompts prompts;
    TFilePropDlg dialog(prompts, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testAnyFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
}

void TFilePropDlgTest::saveQuestionHasTheQuestionIcon() {
    const std::unique_ptr<QMessageBox> box = hv::NewSaveQuestionBox("変更を保存しますか?", "Hollyvine", nullptr);
    QCOMPARE(box->icon(), QMessageBox::Question);
    QStringList buttons;
    for (QAbstractButton* button : box->buttons()) {
        buttons << button->text();
    }
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("キャンセル"), QStringLiteral("保存しない(&N)"),
                                   QStringLiteral("保存する(&S)")}));
    QCOMPARE(box->defaultButton()->text(), QStringLiteral("保存する(&S)"));
}

void TFilePropDlgTest::elidePath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("shown");
    QTest::newRow("fits") << QStringLiteral("/a/b.hv") << 7 << QStringLiteral("/a/b.hv");
    QTest::newRow("directory cut in its middle")
        << QStringLiteral("/home/user/docs/file.hv") << 16 << QStringLiteral("/home.../file.hv");
    QTest::newRow("only the file name left") << QStringLiteral("/home/file.hv") << 11 << QStringLiteral(".../file.hv");
    QTest::newRow("file name too long") << QStringLiteral("/d/verylongname.hv") << 10 << QStringLiteral(".../ver...");
    QTest::newRow("no directory") << QStringLiteral("abcdefghij") << 6 << QStringLiteral("abc...");
}

void TFilePropDlgTest::elidePath() {
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(QString, shown);
    // One unit per UTF-16 unit, so no font is involved.
    QCOMPARE(hv::ElidePath(path, width, [](const QString& text) { return static_cast<int>(text.size()); }), shown);
}

QTEST_MAIN(TFilePropDlgTest)
#include "test_filepropdlg.moc"

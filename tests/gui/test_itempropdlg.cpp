#include "PropTestSupport.h"
#include "model/HVItems.h"
#include "properties/CmdPropDlg.h"
#include "properties/ItemPropDlg.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace hv;
using namespace hv::test;

namespace {

// The dialog over a list holding "news" (http://n/) and "other".
struct TFixture {
    TPropTestEnv Env;
    THVList List;
    THVItem* Item = List.Add("news");
    THVItem* Other = List.Add("other");
    TItemPropDlg Dlg{Env.Services};
    TFixture() { Item->SetURL("http://n/"); }
    template <class T> T* Find(const char* name) { return hv::test::Find<T>(Dlg, name); }
};

} // namespace

class TestItemPropDlg : public QObject {
    Q_OBJECT

private slots:
    void clipboardUrl_data() {
        QTest::addColumn<QString>("clip");
        QTest::addColumn<QString>("url");
        QTest::newRow("https") << QStringLiteral("https://example.org/a") << QStringLiteral("https://example.org/a");
        QTest::newRow("quoted") << QStringLiteral("\"HTTP://x.jp/\"") << QStringLiteral("HTTP://x.jp/");
        QTest::newRow("single quoted") << QStringLiteral("'ftp://f/'") << QStringLiteral("ftp://f/");
        QTest::newRow("mailto") << QStringLiteral("mailto:a@b") << QStringLiteral("mailto:a@b");
        QTest::newRow("mailto is case sensitive") << QStringLiteral("MAILTO:a@b") << QStringLiteral("http://www.");
        QTest::newRow("sentence") << QStringLiteral("see http://x.jp/") << QStringLiteral("http://www.");
        QTest::newRow("other scheme") << QStringLiteral("file:///etc") << QStringLiteral("http://www.");
        QTest::newRow("unpaired quote") << QStringLiteral("\"http://x/'") << QStringLiteral("http://www.");
    }
    void clipboardUrl() {
        QFETCH(QString, clip);
        QFETCH(QString, url);
        TFixture f;
        QGuiApplication::clipboard()->setText(clip);
        f.Dlg.Load(nullptr, f.List);
        QCOMPARE(f.Find<QLineEdit>("edtURL")->text(), url);
    }

    void newItemIsCreatedWithEveryPage() {
        TFixture f;
        TItemPropDlg& dlg = f.Dlg;
        QGuiApplication::clipboard()->setText(QStringLiteral("https://example.org/"));
        dlg.Load(nullptr, f.List);
        dlg.show();
        auto* ok = Find<QPushButton>(dlg, "bbtOK");
        QVERIFY(!ok->isEnabled());
        QTest::keyClicks(Find<QLineEdit>(dlg, "edtName"), QStringLiteral("Example"));
        QVERIFY(ok->isEnabled());
        QTest::keyClicks(Find<QPlainTextEdit>(dlg, "edtMemo"), QStringLiteral("line1"));
        QTest::keyClick(Find<QPlainTextEdit>(dlg, "edtMemo"), Qt::Key_Return);
        QTest::keyClicks(Find<QPlainTextEdit>(dlg, "edtMemo"), QStringLiteral("line2"));
        // Add two commands through the command dialog, then swap them.
        for (const char* title : {"first", "second"}) {
            OnNextModal([title](QWidget* modal) {
                QTest::keyClicks(modal->findChild<QLineEdit*>(QStringLiteral("edtTitle")), QString::fromUtf8(title));
                QTest::keyClicks(modal->findChild<QLineEdit*>(QStringLiteral("edtCmdLine")), QStringLiteral("prog a"));
                modal->findChild<QPushButton*>(QStringLiteral("bbtOK"))->click();
            });
            dlg.AddCommand();
        }
        auto* commands = Find<QTreeWidget>(dlg, "lvCommands");
        QCOMPARE(commands->topLevelItemCount(), 2);
        QVERIFY(!Find<QPushButton>(dlg, "btnDown")->isEnabled()); // the last row is selected
        Find<QPushButton>(dlg, "btnUp")->click();
        QCOMPARE(commands->currentItem()->text(0), QStringLiteral("second"));
        QVERIFY(!Find<QPushButton>(dlg, "btnUp")->isEnabled());
        Find<QPushButton>(dlg, "btnTest")->click();
        QCOMPARE(f.Env.Opened, std::vector<std::string>{"prog a"});
        // Month days 5,15,25 at 9:00 for one day.
        Find<QTabWidget>(dlg, "")->setCurrentIndex(2);
        Find<QRadioButton>(dlg, "rbDate")->click();
        QTest::keyClicks(Find<QLineEdit>(dlg, "edtDays"), QStringLiteral("5,x15,25"));
        Find<QSpinBox>(dlg, "udHour")->setValue(9);
        Find<QSpinBox>(dlg, "udPeriodDays")->setValue(1);
        ok->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const THVItem& work = dlg.WorkItem();
        QCOMPARE(work.GetName(), std::string("Example"));
        QCOMPARE(work.GetURL(), std::string("https://example.org/"));
        QCOMPARE(work.GetMemo(), std::string("line1\r\nline2"));
        QCOMPARE(work.GetSchedule(), std::string("M 5,15,25 9:00 1,0"));
        QCOMPARE(work.GetCommands().Count(), 2);
        QCOMPARE(work.GetCommands().Items(0).Title, std::string("second"));
    }

    void unchangedOkIsCancel() {
        TFixture f;
        QTimer::singleShot(0, &f.Dlg, [&f] { f.Dlg.accept(); });
        QVERIFY(!f.Dlg.Execute(f.Item, f.List));
        QCOMPARE(f.Item->GetURL(), std::string("http://n/"));
    }

    void okChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString url = QStringLiteral("http://n/");
        QTest::newRow("case change of its own") << QStringLiteral("News") << url << QString();
        QTest::newRow("taken by another")
            << QStringLiteral("OTHER") << url << QString::fromUtf8("アイテム名 'OTHER' は既に使われています。");
        QTest::newRow("tabs only") << QStringLiteral("\t\t") << url << QString::fromUtf8("名前が入力されていません。");
        QTest::newRow("free") << QStringLiteral("fresh") << url << QString();
        QTest::newRow("no URL") << QStringLiteral("fresh") << QString()
                                << QString::fromUtf8("URLが指定されていません。");
    }
    void okChecks() {
        QFETCH(QString, name);
        QFETCH(QString, url);
        QFETCH(QString, message);
        TFixture f;
        f.Dlg.Load(f.Item, f.List);
        f.Find<QLineEdit>("edtName")->setText(name);
        f.Find<QLineEdit>("edtURL")->setText(url);
        QCOMPARE(f.Dlg.CheckOK(), message.isEmpty());
        if (!message.isEmpty()) {
            QCOMPARE(f.Env.Prompts.Messages.size(), std::size_t{1});
            QVERIFY(
                QString::fromStdString(f.Env.Prompts.Messages[0]).startsWith(QStringLiteral("Hollyvine|") + message));
        }
    }

    void weekScheduleLoadsAndNumbersDoNotMarkWhileLoading() {
        TFixture f;
        TItemPropDlg& dlg = f.Dlg;
        f.Item->SetSchedule("W 2,6 7:30 0,12");
        dlg.Load(f.Item, f.List);
        QVERIFY(Find<QCheckBox>(dlg, "chkWDay2")->isChecked());
        QVERIFY(!Find<QCheckBox>(dlg, "chkWDay3")->isChecked());
        QVERIFY(!Find<QLineEdit>(dlg, "edtDays")->isEnabled());
        QCOMPARE(Find<QSpinBox>(dlg, "udMinute")->value(), 30);
        QVERIFY(!dlg.Modified());
        Find<QSpinBox>(dlg, "udMinute")->setValue(31); // the page is not on screen
        QVERIFY(!dlg.Modified());
        dlg.show();
        Find<QSpinBox>(dlg, "udMinute")->setValue(32); // the dialog shows another page
        QVERIFY(!dlg.Modified());
        Find<QRadioButton>(dlg, "rbWeek")->click(); // already chosen: no change
        QVERIFY(!dlg.Modified());
        Find<QTabWidget>(dlg, "")->setCurrentIndex(2);
        auto* hour = Find<QSpinBox>(dlg, "udHour");
        hour->selectAll();
        QTest::keyClicks(hour, QStringLiteral("1+x-5"));
        QCOMPARE(hour->value(), 15);
        QVERIFY(dlg.Modified());
    }

    // The URL field puts the caret after "http://www."; Esc in the memo cancels the dialog.
    void generalPageKeys() {
        TFixture f;
        TItemPropDlg& dlg = f.Dlg;
        THVItem* item = f.Item;
        item->SetURL("http://www.");
        item->SetMemo("memo");
        QTimer::singleShot(0, &dlg, [&dlg] {
            auto* url = Find<QLineEdit>(dlg, "edtURL");
            url->setFocus(Qt::TabFocusReason);
            QTRY_COMPARE(url->cursorPosition(), 11);
            QVERIFY(!url->hasSelectedText());
            auto* memo = Find<QPlainTextEdit>(dlg, "edtMemo");
            QTest::keyClicks(memo, QStringLiteral("x"));
            QTest::keyClick(memo, Qt::Key_Escape);
        });
        QVERIFY(!dlg.Execute(item, f.List));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(item->GetMemo(), std::string("memo"));
    }

    void deleteCommandAsks() {
        TFixture f;
        f.Item->GetCommands().Add() = {"one", "x", true};
        f.Dlg.Load(f.Item, f.List);
        auto* commands = f.Find<QTreeWidget>("lvCommands");
        QCOMPARE(commands->topLevelItem(0)->text(2), QString::fromUtf8("アクセス日時更新"));
        f.Dlg.DeleteCommand(); // answered No
        QCOMPARE(commands->topLevelItemCount(), 1);
        f.Env.Prompts.YesNoAnswers.push_back(true);
        f.Dlg.DeleteCommand();
        QCOMPARE(commands->topLevelItemCount(), 0);
        QCOMPARE(f.Env.Prompts.Messages.back(),
                 std::string("Hollyvine|?コマンド 'one' を削除します。よろしいですか？"));
        QVERIFY(!f.Find<QPushButton>("btnEdit")->isEnabled());
    }

    void commandDialog() {
        TPropTestEnv env;
        TCmdPropDlg dlg(env.Services);
        TCmdItem command{"t", "c", false};
        dlg.Load(command);
        QVERIFY(!Find<QPushButton>(dlg, "bbtOK")->isEnabled());
        QVERIFY(!dlg.Store(command)); // nothing changed
        TFileDialogs::QueueAnswer(QStringLiteral("/opt/My Programs/run me"));
        dlg.Browse();
        QVERIFY(Find<QPushButton>(dlg, "bbtOK")->isEnabled());
        QVERIFY(dlg.Store(command));
        QCOMPARE(command.CommandLine, std::string("/opt/My Programs/run me"));
        Find<QLineEdit>(dlg, "edtTitle")->clear();
        QVERIFY(!dlg.CheckOK());
        QCOMPARE(env.Prompts.Messages, std::vector<std::string>{"Hollyvine|タイトルが入力されていません。"});
    }

    // A fixed-size dialog with the close button only, at the same place over openings and
    // restarts (the registry store outlives the settings objects).
    void fixedSizeAndKeptPlace() {
        TMemoryRegistryStore store;
        TRecordingPrompts prompts;
        QPoint first;
        for (int opening = 0; opening < 3; ++opening) {
            TSettings settings(store);
            TPropDlgServices services{settings, prompts, {}};
            TItemPropDlg dlg(services);
            if (opening == 0) {
                dlg.move(150, 120);
            }
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(!dlg.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
            QCOMPARE(dlg.minimumSize(), dlg.maximumSize());
            if (opening == 0) {
                first = dlg.geometry().topLeft();
            }
            QCOMPARE(dlg.geometry().topLeft(), first);
            dlg.close();
        }
    }
};

QTEST_MAIN(TestItemPropDlg)
#include "test_itempropdlg.moc"

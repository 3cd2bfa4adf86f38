// The program on the desktop: its command line, its icon, its names and Qt's texts in Japanese.

#include "app/CommandLine.h"
#include "app/DesktopIntegration.h"
#include "mainwindow/FolderTreeModel.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using hv::TCommandLine;
using TAction = hv::TCommandLine::TAction;

namespace {

QStringList Args(std::initializer_list<const char*> arguments) {
    QStringList list{QStringLiteral("/usr/bin/hollyvine")};
    for (const char* argument : arguments) {
        list << QString::fromUtf8(argument);
    }
    return list;
}

} // namespace

class TDesktopTest : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("document");
        QTest::addColumn<bool>("cleanUp");
        QTest::addColumn<bool>("debug");
        const auto start = static_cast<int>(TAction::Start);
        QTest::newRow("nothing") << Args({}) << start << QString() << false << false;
        QTest::newRow("document") << Args({"a.hv"}) << start << QStringLiteral("a.hv") << false << false;
        QTest::newRow("document and /d") << Args({"a.hv", "/d"}) << start << QStringLiteral("a.hv") << false << true;
        QTest::newRow("/d alone") << Args({"/D"}) << start << QString() << false << true;
        QTest::newRow("/u") << Args({"/u"}) << start << QString() << true << false;
        QTest::newRow("dash document after --")
            << Args({"--", "-odd.hv"}) << start << QStringLiteral("-odd.hv") << false << false;
        QTest::newRow("Japanese name") << Args({"ブックマーク.hv"}) << start << QStringLiteral("ブックマーク.hv")
                                       << false << false;
        for (const char* help : {"--help", "-h"}) {
            QTest::newRow(help) << Args({help}) << static_cast<int>(TAction::Help) << QString() << false << false;
        }
        QTest::newRow("help after a document")
            << Args({"a.hv", "--help"}) << static_cast<int>(TAction::Help) << QString() << false << false;
        for (const char* version : {"--version", "-v"}) {
            QTest::newRow(version) << Args({version}) << static_cast<int>(TAction::Version) << QString() << false
                                   << false;
        }
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, action);
        QFETCH(QString, document);
        QFETCH(bool, cleanUp);
        QFETCH(bool, debug);
        const TCommandLine line = hv::ParseCommandLine(arguments);
        QCOMPARE(static_cast<int>(line.Action), action);
        QCOMPARE(line.Options.DocumentPath, document);
        QCOMPARE(line.Options.CleanUp, cleanUp);
        QCOMPARE(line.Options.DebugMode, debug);
        QCOMPARE(hv::CommandLineExitCode(line), 0);
        if (line.Action == TAction::Version) {
            QCOMPARE(line.Text, QStringLiteral("Hollyvine " HV_EXPECTED_VERSION "\n"));
        }
    }

    void unknownOptionsAreNamed_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("text");
        const QString hint = QStringLiteral("使い方は hollyvine --help で表示します。\n");
        QTest::newRow("long") << Args({"--frobnicate"})
                              << QStringLiteral("不明なオプションです: --frobnicate\n") + hint;
        QTest::newRow("short") << Args({"a.hv", "-x"}) << QStringLiteral("不明なオプションです: -x\n") + hint;
        // Qt's own options are unknown until QApplication has taken them out of the arguments.
        QTest::newRow("Qt's own") << Args({"-style", "fusion"}) << QStringLiteral("不明なオプションです: -s\n") + hint;
    }

    void unknownOptionsAreNamed() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, text);
        const TCommandLine line = hv::ParseCommandLine(arguments);
        QCOMPARE(static_cast<int>(line.Action), static_cast<int>(TAction::Error));
        QCOMPARE(line.Text, text);
        QCOMPARE(hv::CommandLineExitCode(line), 2);
    }

    void helpDescribesTheArguments() {
        const QString help = hv::ParseCommandLine(Args({"--help"})).Text;
        QVERIFY2(help.startsWith(QStringLiteral("使い方: hollyvine [オプション] [ドキュメント.hv] [/d]\n"
                                                "        hollyvine /u\n")),
                 qPrintable(help));
        for (const char* expected : {"-h, --help", "-v, --version", "/d ", "/u ", "hvtool --help"}) {
            QVERIFY2(help.contains(QString::fromUtf8(expected)), expected);
        }
        QVERIFY(help.endsWith(QLatin1Char('\n')));
    }

    void iconHasEverySizeAndIsTheTreeRoot() {
        const QIcon icon = hv::ProgramIcon();
        QList<QSize> sizes = icon.availableSizes();
        std::sort(sizes.begin(), sizes.end(), [](QSize a, QSize b) { return a.width() < b.width(); });
        QList<QSize> expected;
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            expected << QSize(size, size);
        }
        QCOMPARE(sizes, expected);
        // Drawn, not empty: the middle of the 32-pixel image is covered.
        const QImage image = icon.pixmap(QSize(32, 32)).toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(qAlpha(image.pixel(16, 16)) > 0);
        QCOMPARE(hv::TFolderIcons::Standard(QApplication::style()).Root.availableSizes().size(), expected.size());
    }

    void applicationIntroducesItself() {
        hv::SetUpApplication(*qApp);
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("hollyvine"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Hollyvine"));
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral(HV_EXPECTED_VERSION));
        QCOMPARE(QGuiApplication::windowIcon().availableSizes().size(), 8);
    }

    void qtTextsAreJapanese() {
        QVERIFY(hv::InstallQtTranslations(*qApp));
        QMessageBox box(QMessageBox::Question, QStringLiteral("Hollyvine"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("はい(&Y)"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("いいえ(&N)"));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QVERIFY(!menu->actions().isEmpty());
        QCOMPARE(menu->actions().constFirst()->text().section(QLatin1Char('\t'), 0, 0), QStringLiteral("元に戻す(&U)"));
        // Without translations Qt keeps its own texts.
        QTemporaryDir empty;
        QVERIFY(!hv::InstallQtTranslations(*qApp, empty.path()));
    }
};

QTEST_MAIN(TDesktopTest)
#include "test_desktop.moc"

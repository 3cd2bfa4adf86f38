#include "mainwindow/HintText.h"
#include "mainwindow/LayoutRules.h"
#include "model/DateTime.h"
#include "model/HVItems.h"

#include <QtTest>

using hv::TToolBarPlace;

namespace {

// Ten pixels a character, so that cut points are easy to reckon.
int TenEach(const QString& text) {
    return static_cast<int>(text.size()) * 10;
}

} // namespace

class TLayoutRulesTest : public QObject {
    Q_OBJECT

private slots:
    void panelWidths_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("stored") << "160,88,120,100" << QList<int>{160, 88, 120, 100};
        QTest::newRow("blanks around") << " 50 , 60,70 ,80" << QList<int>{50, 60, 70, 80};
        QTest::newRow("unreadable and empty") << "10,x,,30" << QList<int>{10, 40, 40, 30};
        QTest::newRow("too few") << "99" << QList<int>{99, 40, 40, 40};
        QTest::newRow("nothing") << "" << QList<int>{40, 40, 40, 40};
        QTest::newRow("too many") << "1,2,3,4,5" << QList<int>{1, 2, 3, 4};
        QTest::newRow("fraction") << "12.5,20,30,40" << QList<int>{40, 20, 30, 40};
        QTest::newRow("negative") << "-5,20,30,-1" << QList<int>{40, 20, 30, 40};
    }

    void panelWidths() {
        QFETCH(QString, text);
        QFETCH(QList<int>, widths);
        const auto parsed = hv::ParsePanelWidths(text);
        QCOMPARE(QList<int>(parsed.begin(), parsed.end()), widths);
        QCOMPARE(hv::ParsePanelWidths(hv::FormatPanelWidths(parsed)), parsed);
    }

    void panelLimitsKeepTheListUsable() {
        QVERIFY(!hv::PanelWidthAllowed(15));
        QVERIFY(hv::PanelWidthAllowed(16));
        QVERIFY(hv::PanelWidthAllowed(240));
        QVERIFY(!hv::PanelWidthAllowed(241));
        QVERIFY(!hv::PanelWidthAllowed(-5));
        // A roomy panel takes the wanted size; a small one leaves the list its 30 pixels.
        QCOMPARE(hv::LimitTreeSize(120, 600, 4), 120);
        QCOMPARE(hv::LimitTreeSize(120, 100, 4), 66);
        QCOMPARE(hv::LimitTreeSize(120, 154, 4), 120);
        QCOMPARE(hv::LimitTreeSize(120, 20, 4), 0);
        // The bottom part: never below its minimum, never over the client height less the rest.
        QCOMPARE(hv::MaxBottomHeight(600, 4, 90), 502);
        QCOMPARE(hv::MaxBottomHeight(100, 4, 90), 69);
    }

    void toolBarPlacesAndRows() {
        const TToolBarPlace fallback{true, 11, 2};
        QCOMPARE(hv::ParseToolBarPlace(QStringLiteral("0,70,60"), fallback), (TToolBarPlace{false, 70, 60}));
        QCOMPARE(hv::ParseToolBarPlace(QStringLiteral("0"), fallback), (TToolBarPlace{false, 11, 2}));
        QCOMPARE(hv::ParseToolBarPlace(QStringLiteral("x,y,z"), fallback), fallback);
        QCOMPARE(hv::ParseToolBarPlace(QString(), TToolBarPlace{false, 1, 2}), (TToolBarPlace{false, 1, 2}));
        QCOMPARE(hv::FormatToolBarPlace({false, 173, 31}), QStringLiteral("0,173,31"));
        // File, Folder, Item, View, Find at their default places: three rows, each left to right.
        const std::vector<TToolBarPlace> places = {
            {true, 11, 2}, {true, 173, 2}, {true, 11, 31}, {true, 70, 60}, {true, 11, 60}};
        const std::vector<std::vector<int>> rows = {{0, 1}, {2}, {4, 3}};
        QVERIFY(hv::ArrangeToolBars(places, 26) == rows);
        // A bar dragged a few pixels lower stays in its row.
        const std::vector<TToolBarPlace> nudged = {{true, 200, 5}, {true, 0, 0}};
        QVERIFY(hv::ArrangeToolBars(nudged, 26) == (std::vector<std::vector<int>>{{1, 0}}));
    }

    void pathEllipsis_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("shown");
        QTest::newRow("fits") << "Hollyvine\\技術" << 200 << "Hollyvine\\技術";
        QTest::newRow("middle parts go") << "Hollyvine\\aaaa\\bbbb\\cc" << 190 << "Hollyvine\\…\\bbbb\\cc";
        QTest::newRow("only the last part") << "Hollyvine\\aaaa\\bbbb\\cc" << 150 << "Hollyvine\\…\\cc";
        QTest::newRow("no cut fits") << "Hollyvine\\aaaa\\bbbb\\cc" << 60 << "Holly…";
        QTest::newRow("no backslash") << "abcdefghij" << 50 << "abcd…";
    }

    void pathEllipsis() {
        QFETCH(QString, path);
        QFETCH(int, width);
        QFETCH(QString, shown);
        QCOMPARE(hv::ElidePathMiddle(path, width, TenEach), shown);
    }

    void folderHintNames_data() {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("names");
        QTest::addColumn<bool>("more");
        QTest::newRow("empty") << 0 << 0 << false;
        QTest::newRow("eight all shown") << 8 << 8 << false;
        QTest::newRow("nine: seven and more") << 9 << 7 << true;
    }

    void folderHintNames() {
        QFETCH(int, items);
        QFETCH(int, names);
        QFETCH(bool, more);
        hv::THVList list;
        for (int i = 0; i < items; ++i) {
            list.Add("item" + std::to_string(i));
        }
        const hv::TFolderHintText hint = hv::FolderHintText(QStringLiteral("ニュース"), &list);
        QCOMPARE(hint.Name, QStringLiteral("ニュース"));
        QCOMPARE(hint.Count, QStringLiteral("(%1)").arg(items));
        QCOMPARE(hint.Names.size(), names);
        QCOMPARE(hint.More, more);
        if (names > 0) {
            QCOMPARE(hint.Names.first(), QStringLiteral("item0"));
            QCOMPARE(hint.Names.last(), QStringLiteral("item%1").arg(names - 1));
        }
    }

    void itemHint() {
        hv::THVList list;
        hv::THVItem* item = list.Add("R&D");
        item->SetURL("https://example.org/");
        item->SetMemo("first line\r\nsecond\r\n\r\n");
        item->GetCommands().Add().Title = "&Edit";
        const hv::TAccessTimeOptions options;
        const hv::TDateTime now = hv::EncodeDateTime(2024, 3, 5, 13, 5, 0);

        hv::TItemHintText hint = hv::ItemHintText(*item, now, options);
        QCOMPARE(hint.Name, QStringLiteral("R&D"));
        QCOMPARE(hint.URL, QStringLiteral("https://example.org/"));
        QVERIFY(hint.Access.isEmpty()); // never visited
        QCOMPARE(hint.Memo, QStringLiteral("first line\nsecond"));
        QCOMPARE(hint.Commands, QStringList{QStringLiteral("&Edit")});

        item->SetLastVisited(hv::EncodeDateTime(2024, 3, 5, 9, 0, 0));
        hint = hv::ItemHintText(*item, now, options);
        QCOMPARE(hint.Access, QStringLiteral("アクセス 24/03/05(火) 09:00"));
    }
};

QTEST_MAIN(TLayoutRulesTest)
#include "test_layoutrules.moc"

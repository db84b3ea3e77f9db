// The rules behind the window's arrangement and its result line, without a window: how
// the option frames share out into columns, and what a search's summary says.
#include "app/search/column_flow_layout.h"
#include "app/search/search_panel_controller.h"
#include "app/search/search_summary.h"

#include <QTest>
#include <QWidget>

using namespace drawfollow;

Q_DECLARE_METATYPE(std::vector<int>)

class LayoutLogicTest : public QObject {
    Q_OBJECT

private slots:
    void columnsBalanceTheTallest_data() {
        QTest::addColumn<std::vector<int>>("heights");
        QTest::addColumn<int>("columns");
        QTest::addColumn<std::vector<int>>("starts");
        QTest::newRow("even thirds") << std::vector<int>{50, 50, 50, 50, 50, 50} << 3 << std::vector<int>{0, 2, 4};
        // One tall block takes a column of its own rather than lengthen another.
        QTest::newRow("tall last") << std::vector<int>{40, 40, 40, 200} << 2 << std::vector<int>{0, 3};
        QTest::newRow("tall first") << std::vector<int>{200, 40, 40, 40} << 2 << std::vector<int>{0, 1};
        QTest::newRow("more columns than blocks") << std::vector<int>{30, 30} << 3 << std::vector<int>{0, 1};
        QTest::newRow("one column") << std::vector<int>{30, 30, 30} << 1 << std::vector<int>{0};
    }

    void columnsBalanceTheTallest() {
        QFETCH(std::vector<int>, heights);
        QFETCH(int, columns);
        QFETCH(std::vector<int>, starts);
        QCOMPARE(balancedColumnStarts(heights, columns, 6), starts);
    }

    void fewerColumnsWhenNarrow() {
        QWidget panel;
        auto* layout = new ColumnFlowLayout(3, &panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(10);
        for (int i = 0; i < 6; ++i) {
            auto* block = new QWidget(&panel);
            block->setFixedSize(100, 40);
            layout->addWidget(block);
        }
        QCOMPARE(layout->columnsAt(320), 3);  // 3 × 100 + 2 × 10
        QCOMPARE(layout->heightForWidth(320), 90);
        QCOMPARE(layout->columnsAt(319), 2);
        QCOMPARE(layout->heightForWidth(319), 140);
        QCOMPARE(layout->columnsAt(150), 1);
        QCOMPARE(layout->heightForWidth(150), 290);
        // Every block stays whole and apart from the others at the narrow width.
        layout->setGeometry(QRect(0, 0, 150, 290));
        for (int i = 1; i < layout->count(); ++i)
            QCOMPARE(layout->itemAt(i)->geometry().top(), layout->itemAt(i - 1)->geometry().bottom() + 11);
    }

    // A hidden block neither starts a column nor takes room in one.
    void hiddenBlocksTakeNoPlace() {
        QWidget panel;
        auto* layout = new ColumnFlowLayout(2, &panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(10);
        std::vector<QWidget*> blocks;
        for (int i = 0; i < 4; ++i) {
            blocks.push_back(new QWidget(&panel));
            blocks.back()->setFixedSize(100 + 20 * i, 40);
            layout->addWidget(blocks.back());
        }
        panel.show();
        blocks[1]->hide();
        blocks[3]->hide();
        QCOMPARE(layout->columnsAt(250), 2);  // 100 + 10 + 140, the hidden 120 and 160 left out
        QCOMPARE(layout->heightForWidth(250), 40);
        QCOMPARE(layout->heightForWidth(249), 90);
        layout->setGeometry(QRect(0, 0, 249, 90));
        QCOMPARE(blocks[2]->geometry().top(), 50);
        blocks[0]->hide();
        blocks[2]->hide();
        QCOMPARE(layout->sizeHint(), QSize(0, 0));
    }

    void summaryNamesWhatWasSearched() {
        SearchInputs in;
        in.searchKind = Kind::Tail;
        in.resultKind = Kind::Zodiac;
        in.scope = TallyScope::Regular;
        in.freePositions = false;
        in.previousIssue = false;
        in.gap = 3;
        in.ticked = {true, false, true, false, false, false, false, true};
        SearchResult result;
        result.firstIssue = 2013004;
        result.lastIssue = 2013150;
        result.hits = {2013010, 2013020};
        QCOMPARE(searchSummary(SearchButton::Follow, in, QStringLiteral("依据第 2013148 期"), result),
                 QStringLiteral("跟随检索：第 2013004 ～ 2013150 期中找到 2 期；按尾数，固定位 平1位、平3位、特位，"
                                "前 3 期，依据第 2013148 期，统计生肖（平码）"));
        in.freePositions = true;
        in.countSpecial = true;
        in.combinationSize = 4;
        in.combinationRegularOnly = true;
        QVERIFY(searchSummary(SearchButton::Combination, in, QStringLiteral("依据手动输入的号码"), result)
                    .endsWith(QStringLiteral(
                        "按尾数，自由位（计特码） 平码任 4 位，前 3 期，依据手动输入的号码，统计生肖（平码）")));
    }
};

QTEST_MAIN(LayoutLogicTest)
#include "layout_logic_test.moc"

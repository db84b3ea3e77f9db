// The pure rules of the search panel: reference draw, verification base, range start
// and end, value texts and issue parsing.
#include "app/panel_logic.h"

#include <QTest>

using namespace drawfollow;

namespace {

std::vector<StoredDraw> history(std::initializer_list<int> issues) {
    std::vector<StoredDraw> h;
    for (int issue : issues) {
        StoredDraw d;
        d.issue = issue;
        for (int p = 0; p < kPositions; ++p)
            d.own[index(Kind::Number)][p] = static_cast<int16_t>(issue % 1000 + p);
        h.push_back(d);
    }
    return h;
}

// 2012 ends at 153 here, as many real years do; 2011 ends at 154.
const auto kHistory =
    history({2011153, 2011154, 2012001, 2012002, 2012152, 2012153, 2013001, 2013002, 2013058, 2013059, 2013060});

int issueAt(const std::optional<size_t>& i) {
    return i ? kHistory[*i].issue : 0;
}

}  // namespace

class PanelLogicTest : public QObject {
    Q_OBJECT

private slots:
    void referenceDrawOfTheFirstTab_data() {
        QTest::addColumn<bool>("previousIssue");
        QTest::addColumn<int>("gap");
        QTest::addColumn<int>("expected");
        QTest::newRow("上期: the latest draw") << true << 5 << 2013060;
        QTest::newRow("前期 1: the latest draw") << false << 1 << 2013060;
        QTest::newRow("前期 3: the third-latest draw") << false << 3 << 2013058;
        QTest::newRow("前期 9") << false << 9 << 2012001;
        QTest::newRow("前期 gap 0 refused") << false << 0 << 0;
        QTest::newRow("前期 gap 10 refused") << false << 10 << 0;
    }
    void referenceDrawOfTheFirstTab() {
        QFETCH(bool, previousIssue);
        QFETCH(int, gap);
        QFETCH(int, expected);
        const BaseLookup b = referenceDraw(kHistory, previousIssue, gap);
        QCOMPARE(issueAt(b.index), expected);
        QCOMPARE(b.problem.empty(), expected != 0);
    }

    void gapLargerThanTheHistoryGivesNoBase() {
        const auto h = history({2013001, 2013002});
        const BaseLookup b = referenceDraw(h, false, 3);
        QVERIFY(!b.found());
        QVERIFY(!b.problem.empty());
        QVERIFY(referenceDraw(h, false, 2).found());
        QVERIFY(!referenceDraw({}, true, 1).found());
    }

    void verificationBase_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<bool>("previousIssue");
        QTest::addColumn<int>("gap");
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("rangeEnd");
        QTest::newRow("2013060 上期") << 2013060 << true << 2 << 2013059 << 2013059;
        QTest::newRow("2013060 前期 2") << 2013060 << false << 2 << 2013058 << 2013059;
        QTest::newRow("X not stored") << 2013061 << true << 2 << 2013060 << 2013060;
        QTest::newRow("X after a gap in the issues") << 2013040 << true << 2 << 2013002 << 2013002;
        // 2012 ended at 153, so "2012154" is not stored; the base is 2012153.
        QTest::newRow("first issue, year ended at 153") << 2013001 << true << 2 << 2012153 << 2012153;
        QTest::newRow("first issue, year ended at 154") << 2012001 << true << 2 << 2011154 << 2011154;
        QTest::newRow("first issue 前期 2") << 2013001 << false << 2 << 2012152 << 2012153;
        QTest::newRow("X the first stored draw") << 2011153 << true << 2 << 0 << 0;
        QTest::newRow("X before the first stored draw") << 2010001 << true << 2 << 0 << 0;
        QTest::newRow("too few draws before X") << 2012001 << false << 3 << 0 << 0;
        QTest::newRow("gap 0") << 2013060 << false << 0 << 0 << 0;
    }
    void verificationBase() {
        QFETCH(int, x);
        QFETCH(bool, previousIssue);
        QFETCH(int, gap);
        QFETCH(int, base);
        QFETCH(int, rangeEnd);
        const VerificationLookup v = verificationLookup(kHistory, x, previousIssue, gap);
        QCOMPARE(v.base ? v.base->baseIssue : 0, base);
        QCOMPARE(v.base ? v.base->rangeEnd : 0, rangeEnd);
        QCOMPARE(v.problem.empty(), base != 0);  // plain words exactly when there is no base
    }

    void check4RangeEnd_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("expected");
        QTest::newRow("ordinary issue") << 2013060 << 2013059;
        QTest::newRow("first issue after a year ending at 154") << 2012001 << 2011154;
        QTest::newRow("first issue after a year ending at 153") << 2013001 << 2012153;
        QTest::newRow("nothing stored before: by the rule") << 2011001 << 2010154;
        QTest::newRow("nothing stored before, ordinary") << 2011100 << 2011099;
    }
    void check4RangeEnd() {
        QFETCH(int, x);
        QFETCH(int, expected);
        QCOMPARE(rangeEndBefore(kHistory, x), expected);
    }

    void issueBeforeByTheRule() {
        QCOMPARE(issueBeforeByRule(2013057), 2013056);
        QCOMPARE(issueBeforeByRule(2013001), 2012154);
    }

    void rangeStartAndEnd() {
        QCOMPARE(rangeStart(kHistory, true, 3).value(), 2011154);
        QCOMPARE(rangeStart(kHistory, false, 3).value(), 2011156);  // integer addition on the issue
        QCOMPARE(rangeEnd(kHistory).value(), 2013060);
        QVERIFY(!rangeStart({}, true, 1));
        QVERIFY(!rangeEnd({}));
    }

    void zodiacValuesAreNamedByTheCurrentCodeTable() {
        // Number 13 in zodiac year 2006 is the dog. By age with offset 1 its code is 1,
        // which naming by "code − offset" would call 鼠.
        const auto age = ZodiacCodeTable::build(false, 1, 2006);
        const int code = age.code(animalOfNumber(13, 2006));
        QCOMPARE(code, 1);
        QCOMPARE(QString::fromStdString(valueLabel(Kind::Zodiac, code, age)), QStringLiteral("狗"));
        // In sequential mode the table and "code − offset" agree.
        const auto sequential = ZodiacCodeTable::build(true, 1, 2006);
        QCOMPARE(sequential.code(10), 11);
        QCOMPARE(QString::fromStdString(valueLabel(Kind::Zodiac, 11, sequential)), QStringLiteral("狗"));
        // A code no animal has (written under the other offset) is shown as the number.
        QCOMPARE(QString::fromStdString(valueLabel(Kind::Zodiac, 0, sequential)), QStringLiteral("0"));
        QCOMPARE(QString::fromStdString(valueLabel(Kind::Tail, 7, sequential)), QStringLiteral("7"));
    }

    void valuesOfAStoredDraw() {
        const auto v = valuesOf(kHistory.back(), Kind::Number);
        QCOMPARE(v[0], 60);
        QCOMPARE(v[7], 67);
    }

    void issueTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QStringLiteral("2026097") << 2026097;
        QTest::newRow("blanks") << QStringLiteral(" 2026097 ") << 2026097;
        QTest::newRow("six digits") << QStringLiteral("202697") << 0;
        QTest::newRow("eight digits") << QStringLiteral("20260097") << 0;
        QTest::newRow("sequence 000") << QStringLiteral("2026000") << 0;
        QTest::newRow("letters") << QStringLiteral("2026O97") << 0;
        QTest::newRow("empty") << QString() << 0;
    }
    void issueTexts() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(parseIssue(text.toStdString()).value_or(0), expected);
    }
};

QTEST_GUILESS_MAIN(PanelLogicTest)
#include "panel_logic_test.moc"

// The check of the issue box and the eight entry boxes before a draw is stored.
#include "app/history/entry_check.h"

#include <QTest>

using namespace drawfollow;

namespace {

std::array<QString, kPositions> boxes(const QStringList& texts) {
    std::array<QString, kPositions> b;
    for (int i = 0; i < kPositions && i < texts.size(); ++i)
        b[i] = texts[i];
    return b;
}

}  // namespace

class EntryCheckTest : public QObject {
    Q_OBJECT

private slots:
    void aGoodDraw() {
        const EntryCheck c =
            checkEntry(QStringLiteral("2026097"),
                       boxes({QStringLiteral("05"), QStringLiteral("14"), QStringLiteral("17"), QStringLiteral("24"),
                              QStringLiteral("26"), QStringLiteral("28"), QStringLiteral("29"), QStringLiteral("6")}),
                       2026096);
        QVERIFY(c.draw.has_value());
        QCOMPARE(c.draw->issue, 2026097);
        QCOMPARE(int(c.draw->numbers[0]), 5);
        QCOMPARE(int(c.draw->numbers[7]), 6);  // one digit counts as that number
        QVERIFY(c.problem.isEmpty());
        // The first draw of an empty history has no newest issue to follow.
        QVERIFY(checkEntry(QStringLiteral("2026001"),
                           boxes({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                                  QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")}),
                           std::nullopt)
                    .draw);
    }

    void refused_data() {
        QTest::addColumn<QString>("issue");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("says");
        const QStringList good = {QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"),
                                  QStringLiteral("04"), QStringLiteral("05"), QStringLiteral("06"),
                                  QStringLiteral("07"), QStringLiteral("08")};
        auto with = [&](int box, const QString& text) {
            QStringList n = good;
            n[box - 1] = text;
            return n;
        };
        QTest::newRow("issue equal to the newest")
            << QStringLiteral("2026096") << good << 0 << QStringLiteral("不大于");
        QTest::newRow("issue before the newest") << QStringLiteral("2025150") << good << 0 << QStringLiteral("不大于");
        QTest::newRow("issue of six digits") << QStringLiteral("202697") << good << 0 << QStringLiteral("七位数字");
        QTest::newRow("issue sequence 000") << QStringLiteral("2027000") << good << 0 << QStringLiteral("七位数字");
        QTest::newRow("empty box 1") << QStringLiteral("2026097") << with(1, QString()) << 1
                                     << QStringLiteral("第 1 个号码框（平1码）是空的");
        QTest::newRow("empty special box")
            << QStringLiteral("2026097") << with(8, QString()) << 8 << QStringLiteral("（特码）是空的");
        QTest::newRow("31") << QStringLiteral("2026097") << with(4, QStringLiteral("31")) << 4
                            << QStringLiteral("31 不在 01～30");
        QTest::newRow("00") << QStringLiteral("2026097") << with(2, QStringLiteral("00")) << 2
                            << QStringLiteral("00 不在 01～30");
        // 65537 would wrap to 1 in a draw's storage and read as a repeat of box 1.
        QTest::newRow("65537") << QStringLiteral("2026097") << with(3, QStringLiteral("65537")) << 3
                               << QStringLiteral("65537 不在 01～30");
        QTest::newRow("not a number") << QStringLiteral("2026097") << with(5, QStringLiteral("x")) << 5
                                      << QStringLiteral("x 不在 01～30");
        QTest::newRow("repeated in the special number")
            << QStringLiteral("2026097") << with(8, QStringLiteral("03")) << 8 << QStringLiteral("与第 3 个号码框");
        QTest::newRow("repeated as one digit")
            << QStringLiteral("2026097") << with(6, QStringLiteral("5")) << 6 << QStringLiteral("05 与第 5 个号码框");
    }
    void refused() {
        QFETCH(QString, issue);
        QFETCH(QStringList, numbers);
        QFETCH(int, box);
        QFETCH(QString, says);
        const EntryCheck c = checkEntry(issue, boxes(numbers), 2026096);
        QVERIFY(!c.draw);
        QCOMPARE(c.box, box);
        QVERIFY2(c.problem.contains(says), qPrintable(c.problem));
    }
};

QTEST_GUILESS_MAIN(EntryCheckTest)
#include "entry_check_test.moc"

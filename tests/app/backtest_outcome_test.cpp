// The backtest's worker: whatever the preparation throws ends in an outcome with words for
// the user, never in a rethrow on the window's thread.
#include "app/search/backtest_command.h"
#include "store/history_db.h"

#include <QTest>

#include <new>
#include <stdexcept>

namespace drawfollow {

class BacktestOutcomeTest : public QObject {
    Q_OBJECT

private:
    static QString failureOf(const std::function<Backtest()>& prepare) {
        const BacktestOutcome outcome = runBacktest(prepare, BacktestSettings{}, {});
        return outcome.failure.isEmpty() ? QStringLiteral("<no failure reported>") : outcome.failure;
    }

private slots:
    void everyKindOfFailureEndsInWords() {
        const QString refused = failureOf([]() -> Backtest { throw StoreError("回测的期数不对"); });
        QCOMPARE(refused, QStringLiteral("回测的期数不对"));

        const QString unexpected = failureOf([]() -> Backtest { throw std::runtime_error("unexpected"); });
        QVERIFY2(!unexpected.startsWith(QLatin1Char('<')), qPrintable(unexpected));
        QVERIFY2(unexpected.startsWith(QStringLiteral("回测没有完成")), qPrintable(unexpected));

        const QString memory = failureOf([]() -> Backtest { throw std::bad_alloc(); });
        QCOMPARE(memory, QStringLiteral("内存不足，回测没有完成。"));
    }
};

}  // namespace drawfollow

QTEST_MAIN(drawfollow::BacktestOutcomeTest)
#include "backtest_outcome_test.moc"

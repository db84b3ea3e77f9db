// The backtest's worker: whatever the preparation throws ends in failed() with words for the
// user, never in a rethrow on the window's thread.
#include "app/search/backtest_runner.h"
#include "scripted_dialogs.h"
#include "store/history_db.h"

#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <new>
#include <stdexcept>

namespace drawfollow {

class BacktestRunnerTest : public QObject {
    Q_OBJECT

private:
    static QString failureOf(std::function<Backtest()> prepare) {
        test::ScriptedDialogs dialogs;
        QWidget window;
        BacktestRunner runner(dialogs, &window);
        QSignalSpy failed(&runner, &BacktestRunner::failed);
        QSignalSpy finished(&runner, &BacktestRunner::finished);
        runner.start(std::move(prepare), BacktestSettings{});
        if (!failed.wait(10000) && failed.isEmpty())
            return QStringLiteral("<no failure reported>");
        if (!finished.isEmpty() || runner.running())
            return QStringLiteral("<finished as well>");
        return failed.first().first().toString();
    }

private slots:
    void everyKindOfFailureEndsInFailedWithWords() {
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

QTEST_MAIN(drawfollow::BacktestRunnerTest)
#include "backtest_runner_test.moc"

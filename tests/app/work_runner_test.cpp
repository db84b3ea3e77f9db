// The one runner of the window's long work: which jobs run together, which end is reported,
// what the status bar shows, and that nothing outlives the runner.
#include "app/shell/work_runner.h"
#include "store/history_db.h"

#include <QLabel>
#include <QProgressBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <atomic>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>

namespace drawfollow {

namespace {

using namespace std::chrono_literals;

// A job's work that waits until the test lets it go or the job is cancelled, then says
// which of the two it was.
struct Gate {
    std::atomic<bool> open{false};
    std::atomic<bool> entered{false};

    std::function<QString(JobControl&)> work(const char* named) {
        return [this, name = QString::fromLatin1(named)](JobControl& job) {
            entered.store(true);
            while (!open.load() && !job.cancelled())
                std::this_thread::sleep_for(1ms);
            return job.cancelled() ? name + QStringLiteral(" cancelled") : name;
        };
    }
};

std::function<QString(JobControl&)> answer(const char* named) {
    return [name = QString::fromLatin1(named)](JobControl&) { return name; };
}

}  // namespace

class WorkRunnerTest : public QObject {
    Q_OBJECT

private:
    QStringList ended_;

    std::function<void(QString)> record() {
        return [this](const QString& what) { ended_.append(what); };
    }

private slots:
    void init() { ended_.clear(); }

    void oneChangeOfTheHistoryAtATimeAndReadsBesideIt() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        Gate change;
        QVERIFY(
            runner.start<QString>(this, {WorkLane::History, QStringLiteral("删除")}, change.work("change"), record()));
        QVERIFY(runner.busy(WorkLane::History));
        QVERIFY(!runner.start<QString>(this, {WorkLane::History, QStringLiteral("读入")}, answer("second"), record()));
        // A workbook and a backtest run and end while the change still waits.
        QVERIFY(runner.start<QString>(this, {WorkLane::Spreadsheet, {}}, answer("sheet"), record()));
        QVERIFY(runner.start<QString>(this, {WorkLane::Backtest, {}}, answer("backtest"), record()));
        QVERIFY(!runner.start<QString>(this, {WorkLane::Backtest, {}}, answer("backtest 2"), record()));
        QTRY_COMPARE(ended_.size(), 2);
        QVERIFY(ended_.contains(QStringLiteral("sheet")) && ended_.contains(QStringLiteral("backtest")));
        QVERIFY(runner.busy(WorkLane::History));
        change.open.store(true);
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QCOMPARE(ended_.last(), QStringLiteral("change"));
        QVERIFY(!ended_.contains(QStringLiteral("second")));
    }

    void theLatestReadWinsAndStartsOnceTheEarlierHasStopped() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        Gate first;
        std::atomic<bool> skippedRan{false};
        std::atomic<bool> latestRanAfterFirst{false};
        QVERIFY(runner.start<QString>(this, {WorkLane::TrendReading, {}}, first.work("first"), record()));
        QTRY_VERIFY(first.entered.load());
        QVERIFY(runner.start<QString>(
            this, {WorkLane::TrendReading, {}},
            [&skippedRan](JobControl&) {
                skippedRan.store(true);
                return QStringLiteral("skipped");
            },
            record()));
        QVERIFY(runner.start<QString>(
            this, {WorkLane::TrendReading, {}},
            [&first, &latestRanAfterFirst](JobControl&) {
                // The first read was cancelled, not let go: it ends only through the cancel.
                latestRanAfterFirst.store(!first.open.load());
                return QStringLiteral("latest");
            },
            record()));
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QCOMPARE(ended_, QStringList{QStringLiteral("latest")});
        QVERIFY(!skippedRan.load());
        QVERIFY(latestRanAfterFirst.load());
    }

    void aCancelledLaneReportsNothing() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        Gate read;
        QVERIFY(runner.start<QString>(this, {WorkLane::ShapeReading, {}}, read.work("read"), record()));
        QTRY_VERIFY(read.entered.load());
        runner.cancel(WorkLane::ShapeReading);
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QVERIFY(ended_.isEmpty());
    }

    void stepsPostedByTheWorkRunInOrderBeforeItsEnd() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        QVERIFY(runner.start<QString>(
            this, {WorkLane::History, QStringLiteral("检索")},
            [this](JobControl& job) {
                for (int i = 1; i <= 3; ++i)
                    job.post([this, i] { ended_.append(QStringLiteral("step %1").arg(i)); });
                return QStringLiteral("end");
            },
            record()));
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QCOMPARE(ended_, (QStringList{QStringLiteral("step 1"), QStringLiteral("step 2"), QStringLiteral("step 3"),
                                      QStringLiteral("end")}));
    }

    void aWorkThatThrowsEndsInFailedWithItsWords() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        QSignalSpy failed(&runner, &WorkRunner::failed);
        QVERIFY(runner.start<QString>(
            this, {WorkLane::History, {}}, [](JobControl&) -> QString { throw StoreError("数据库文件已损坏"); },
            record()));
        QVERIFY(runner.start<QString>(
            this, {WorkLane::Backtest, {}}, [](JobControl&) -> QString { throw 42; }, record()));
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QVERIFY(ended_.isEmpty());
        QCOMPARE(failed.size(), 2);
        QStringList reasons{failed[0][0].toString(), failed[1][0].toString()};
        reasons.sort();
        QCOMPARE(reasons, (QStringList{QStringLiteral("数据库文件已损坏"), QStringLiteral("未知的错误")}));
    }

    void anOwnerThatIsGoneHearsNothingAndItsWorkIsCancelled() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        Gate work;
        auto owner = std::make_unique<QObject>();
        QObject* gone = owner.get();
        QVERIFY(runner.start<QString>(gone, {WorkLane::History, {}}, work.work("work"),
                                      [this](const QString& what) { ended_.append(what); }));
        QVERIFY(runner.start<QString>(
            gone, {WorkLane::Pick, {}},
            [](JobControl& job) {
                job.post([] { QFAIL("a step of a gone owner ran"); });
                return QStringLiteral("pick");
            },
            record()));
        owner.reset();
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QVERIFY(ended_.isEmpty());
        QVERIFY(!work.open.load());  // it ended through the cancel
    }

    void theStatusBarShowsTheNewestLabelledJobAndCancelsThatOne() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        auto* indicator = statusBar.findChild<QWidget*>(QStringLiteral("busyIndicator"));
        auto* label = statusBar.findChild<QLabel*>(QStringLiteral("busyLabel"));
        auto* bar = statusBar.findChild<QProgressBar*>(QStringLiteral("busyBar"));
        auto* cancel = statusBar.findChild<QToolButton*>(QStringLiteral("busyCancel"));
        QVERIFY(indicator && label && bar && cancel);
        QVERIFY(indicator->isHidden());

        Gate change;
        Gate backtest;
        QVERIFY(runner.start<QString>(this, {WorkLane::History, QStringLiteral("读入历史…")}, change.work("change"),
                                      record()));
        QVERIFY(runner.start<QString>(
            this, {WorkLane::Backtest, QStringLiteral("正在回测…")},
            [&backtest](JobControl& job) {
                job.report(250, 1000);
                return backtest.work("backtest")(job);
            },
            record()));
        // A read without a label is not shown over them.
        Gate read;
        QVERIFY(runner.start<QString>(this, {WorkLane::TrendReading, {}}, read.work("read"), record()));
        QVERIFY(!indicator->isHidden());
        QCOMPARE(label->text(), QStringLiteral("正在回测…"));
        QTRY_COMPARE(bar->value(), 250);
        // 取消 is offered once the work has run long enough to notice.
        QTRY_VERIFY(cancel->isVisibleTo(indicator));

        cancel->click();
        QTRY_COMPARE(ended_, QStringList{QStringLiteral("backtest cancelled")});
        QCOMPARE(label->text(), QStringLiteral("读入历史…"));
        QVERIFY(cancel->isEnabled());
        read.open.store(true);
        QTRY_COMPARE(ended_.size(), 2);
        change.open.store(true);
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QCOMPARE(ended_,
                 (QStringList{QStringLiteral("backtest cancelled"), QStringLiteral("read"), QStringLiteral("change")}));
        QVERIFY(indicator->isHidden());
    }

    // The work may be done before 取消 is pressed: its end, reported afterwards, says so.
    void aCancelAfterTheWorkEndedReachesTheEndThatAsksForIt() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        std::optional<bool> cancelledSeen;
        QVERIFY(runner.start<QString>(this, {WorkLane::History, QStringLiteral("恢复备份…")}, answer("list"),
                                      [&cancelledSeen](const QString&, bool cancelled) { cancelledSeen = cancelled; }));
        runner.cancelShown();
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
        QCOMPARE(cancelledSeen, std::optional<bool>(true));

        QVERIFY(runner.start<QString>(this, {WorkLane::History, QStringLiteral("恢复备份…")}, answer("list"),
                                      [&cancelledSeen](const QString&, bool cancelled) { cancelledSeen = cancelled; }));
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);
        QCOMPARE(cancelledSeen, std::optional<bool>(false));
    }

    void aJobThatCannotBeCancelledOffersNoCancel() {
        QStatusBar statusBar;
        WorkRunner runner(&statusBar);
        auto* cancel = statusBar.findChild<QToolButton*>(QStringLiteral("busyCancel"));
        auto* indicator = statusBar.findChild<QWidget*>(QStringLiteral("busyIndicator"));
        Gate sheet;
        QVERIFY(runner.start<QString>(this, {WorkLane::Spreadsheet, QStringLiteral("导出表格…"), false},
                                      sheet.work("sheet"), record()));
        QTest::qWait(700);  // past the time 取消 would be offered after
        QVERIFY(!cancel->isVisibleTo(indicator));
        sheet.open.store(true);
        QTRY_VERIFY_WITH_TIMEOUT(runner.idle(), 30000);  // an upper bound for a hung test
    }

    void theRunnerCancelsAndWaitsForItsWorkWhenItGoes() {
        Gate change;
        std::atomic<bool> finished{false};
        {
            QStatusBar statusBar;
            WorkRunner runner(&statusBar);
            QVERIFY(runner.start<QString>(
                this, {WorkLane::History, QStringLiteral("删除")},
                [&change, &finished](JobControl& job) {
                    QString what = change.work("change")(job);
                    finished.store(true);
                    return what;
                },
                record()));
            QTRY_VERIFY(change.entered.load());
        }
        QVERIFY(finished.load());
        QVERIFY(!change.open.load());
        QVERIFY(ended_.isEmpty());
    }
};

}  // namespace drawfollow

QTEST_MAIN(drawfollow::WorkRunnerTest)
#include "work_runner_test.moc"

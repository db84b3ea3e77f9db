// The search panel controller following the history controller, without a window: what
// each kind of history change does to Text4, the range and the bases.
#include "app/history/history_jobs.h"
#include "app/shell/window_controllers.h"
#include "app/shell/work_runner.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

#include <memory>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

class Controllers {
public:
    explicit Controllers(const std::vector<DrawInput>& draws) {
        if (!draws.empty())
            HistoryDb(dir_ / HistoryDb::kFileName)
                .appendBatch(draws, settingsFor(startupCodeTableYear(draws.back().issue + 1)));
        both_.history.start(DataFolderChoice{dir_.path(), {}});
    }

    HistoryController& history() { return both_.history; }
    SearchPanelController& search() { return both_.search; }

    // Runs a change of the history off this thread, as the window does, and waits for it.
    HistoryChange change(const std::function<void(HistoryJobs&, HistoryJobs::Done)>& start) {
        std::optional<HistoryChange> outcome;
        start(jobs_, [&outcome](const HistoryChange& c) { outcome = c; });
        while (!outcome) {
            QSignalSpy changed(&runner_, &WorkRunner::busyChanged);
            if (!changed.wait(60000))  // an upper bound for a hung test
                throw std::runtime_error("the change never ended");
        }
        return outcome.value();
    }

private:
    TempDir dir_;
    FixedClock clock_{2026};
    QSettings store_{QString::fromStdString((dir_ / "settings.ini").string()), QSettings::IniFormat};
    AppSettings settings_{store_};
    WindowControllers both_{settings_, clock_};
    QStatusBar statusBar_;
    WorkRunner runner_{&statusBar_};
    HistoryJobs jobs_{both_.history, runner_};
};

std::array<QString, kPositions> boxesOf(const DrawInput& d) {
    std::array<QString, kPositions> boxes;
    for (int p = 0; p < kPositions; ++p)
        boxes[p] = QString::number(d.numbers[p]);
    return boxes;
}

}  // namespace

class ControllersTest : public QObject {
    Q_OBJECT

private slots:
    void startFillsThePanelFromTheHistory() {
        const auto draws = seededDraws(12, 5, 2026001);
        Controllers c(draws);
        QCOMPARE(c.search().verificationText(), QStringLiteral("2026013"));
        QCOMPARE(c.search().historyBase().values.value()[0], int(draws.back().numbers[0]));
        QCOMPARE(c.search().rangeEnd().value(), 2026012);
        QVERIFY(c.search().canSearch());
    }

    void aStoredDrawMovesTextFourTheEndAndTheBase() {
        const auto draws = seededDraws(12, 5, 2026001);
        Controllers c(draws);
        QSignalSpy starts(&c.search(), &SearchPanelController::rangeStartChanged);
        QSignalSpy ends(&c.search(), &SearchPanelController::rangeEndChanged);
        const DrawInput next = draw(2026013, {3, 7, 12, 18, 22, 25, 29, 11});
        QVERIFY(c.history().storeDraw(QStringLiteral("2026013"), boxesOf(next)).stored);
        QCOMPARE(c.search().verificationText(), QStringLiteral("2026014"));
        QCOMPARE(ends.constLast().at(0).toInt(), 2026013);
        QCOMPARE(c.search().historyBase().values.value()[7], 11);
        QVERIFY(starts.isEmpty());  // the user's start stays while older draws stay
    }

    void theFirstDrawOfAnEmptyHistorySetsTheStart() {
        Controllers c({});
        QSignalSpy starts(&c.search(), &SearchPanelController::rangeStartChanged);
        QVERIFY(
            c.history().storeDraw(QStringLiteral("2026001"), boxesOf(draw(2026001, {1, 2, 3, 4, 5, 6, 7, 8}))).stored);
        QCOMPARE(c.search().verificationText(), QStringLiteral("2026002"));
        QCOMPARE(starts.size(), 1);
        QCOMPARE(starts.constLast().at(0).toInt(), c.search().rangeStart().value());
    }

    void deletingTheNewestKeepsTheStartAReloadResetsIt() {
        const auto draws = seededDraws(12, 5, 2026001);
        Controllers c(draws);
        QSignalSpy starts(&c.search(), &SearchPanelController::rangeStartChanged);
        QVERIFY(!c.change([](HistoryJobs& jobs, HistoryJobs::Done done) {
                      jobs.deleteNewest(QStringLiteral("删除最后历史"), std::move(done));
                  }).failed());
        QVERIFY(starts.isEmpty());
        QCOMPARE(c.search().verificationText(), QStringLiteral("2026012"));
        QCOMPARE(c.search().historyBase().values.value()[0], int(draws[10].numbers[0]));

        QVERIFY(c.history().reloadHistory().isEmpty());
        QCOMPARE(starts.size(), 1);
        QCOMPARE(starts.constLast().at(0).toInt(), c.search().rangeStart().value());
    }

    // The names stay true to the draw; the codes behind them follow the menu.
    void aSettingsMenuChangeRecodesTheBase() {
        Controllers c(seededDraws(12, 5, 2026001));
        c.search().setSearchKind(Kind::Zodiac);
        const auto names = c.search().baseTexts(PanelTab::History);
        const auto codes = c.search().historyBase().values.value();
        QSignalSpy refreshed(&c.search(), &SearchPanelController::positionsChanged);
        const int offset = c.history().settings().zodiacOffset() == 1 ? 0 : 1;
        QVERIFY(!c.change([offset](HistoryJobs& jobs, HistoryJobs::Done done) {
                      jobs.changeSetting(AppSettings::Key::ZodiacOffset, offset, std::move(done));
                  }).failed());
        QCOMPARE(refreshed.size(), 1);
        QVERIFY(c.search().historyBase().values.value() != codes);
        QCOMPARE(c.search().baseTexts(PanelTab::History), names);
    }
};

QTEST_MAIN(ControllersTest)
#include "controllers_test.moc"

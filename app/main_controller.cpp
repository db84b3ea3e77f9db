#include "app/main_controller.h"

#include "app/entry_check.h"
#include "app/timing_log.h"

#include <QElapsedTimer>

Q_LOGGING_CATEGORY(lcTiming, "drawfollow.timing", QtWarningMsg)

namespace drawfollow {

MainController::MainController(AppSettings& settings, const Clock& clock, QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock) {}

MainController::~MainController() = default;

void MainController::start(const DataFolderChoice& folder) {
    openDatabase(folder);
    showNextIssue();
    startupDerivation_ = followSettingsInForce();
    fillHistoryBase();
    fillVerifyBase();
}

void MainController::openDatabase(const DataFolderChoice& folder) {
    if (!folder.problem.isEmpty()) {
        storeProblem_ = folder.problem;
        return;
    }
    const std::filesystem::path file = folder.folder / HistoryDb::kFileName;
    databaseFile_ = file;
    try {
        auto db = std::make_unique<HistoryDb>(file);
        history_ = db->drawValues();
        db_ = std::move(db);
    } catch (const StoreError& e) {
        storeProblem_ = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
        storeProblem_ = QStringLiteral("无法读取历史数据库文件“%1”：%2")
                            .arg(QString::fromStdString(file.string()), QString::fromStdString(failureText(e)));
    }
    if (!db_)
        history_.clear();
}

std::optional<int> MainController::rangeStart() const {
    return drawfollow::rangeStart(issuesOf(history_), settings_.previousIssue(), settings_.gap());
}

std::optional<int> MainController::rangeEnd() const {
    return drawfollow::rangeEnd(issuesOf(history_));
}

EntryOutcome MainController::storeDraw(const QString& issueText, const std::array<QString, kPositions>& boxes) {
    QElapsedTimer timer;
    timer.start();
    if (!db_)
        return {false, -1, QStringLiteral("历史数据库不可用，不能保存号码。\n%1").arg(storeProblem_)};
    const EntryCheck entry =
        checkEntry(issueText, boxes, history_.empty() ? std::nullopt : std::optional<int>(history_.back().issue));
    if (!entry.draw)
        return {false, entry.box, entry.problem};
    try {
        const DrawRow row = db_->append(*entry.draw, derivation());
        history_.push_back(StoredDraw::of(row));
    } catch (const std::exception& e) {
        return {false, -1, QStringLiteral("号码未能保存：%1").arg(QString::fromStdString(failureText(e)))};
    }
    const qint64 stored = timer.nsecsElapsed();
    emit drawAppended();
    afterHistoryChange(history_.size() == 1);
    qCInfo(lcTiming, "hand entry of %d: stored in %.2f ms, with every refresh %.2f ms (%zu draws)", entry.draw->issue,
           stored / 1e6, timer.nsecsElapsed() / 1e6, history_.size());
    return {true, -1, {}};
}

QString MainController::reloadHistory() {
    if (!db_)
        return QStringLiteral("历史数据库不可用。\n%1").arg(storeProblem_);
    QString problem;
    try {
        history_ = db_->drawValues();
    } catch (const std::exception& e) {
        problem = QStringLiteral("未能重新读取历史号码：%1").arg(QString::fromStdString(failureText(e)));
    }
    emit historyReset();
    afterHistoryChange(true);
    return problem;
}

void MainController::afterHistoryChange(bool firstIssueChanged) {
    showNextIssue();
    // A next issue in another zodiac year brings another code table.
    const HistoryChange followed = followSettingsInForce();
    if (followed.failed() || !followed.summary.isEmpty())
        emit derivationChanged(followed);
    if (const auto end = rangeEnd())
        emit rangeEndChanged(*end);
    if (firstIssueChanged)
        emitRangeStart();
    refreshPanel();
}

void MainController::showNextIssue() {
    // QihaoXianshi: the next issue, and Text4 takes Text1's text.
    nextIssue_ = db_ ? drawfollow::nextIssue(*db_, clock_) : clock_.currentYear() * 1000 + 1;
    emit nextIssueChanged(nextIssue_);
    verificationText_ = QString::number(nextIssue_);
    emit verificationTextChanged(verificationText_);
}

void MainController::emitRangeStart() {
    if (const auto start = rangeStart())
        emit rangeStartChanged(*start);
}

}  // namespace drawfollow

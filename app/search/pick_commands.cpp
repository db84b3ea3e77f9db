#include "app/search/pick_commands.h"

#include "analysis/pick_book.h"
#include "app/history/history_controller.h"
#include "app/search/pick_book_dialog.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/work_runner.h"
#include "store/history_db.h"

#include <QWidget>

namespace drawfollow {

PickCommands::PickCommands(HistoryController& history, WorkRunner& runner, SpreadsheetWriter& spreadsheets,
                           UserDialogs& dialogs, QWidget* window)
    : QObject(window),
      history_(history),
      runner_(runner),
      spreadsheets_(spreadsheets),
      dialogs_(dialogs),
      window_(window) {}

bool PickCommands::recording() const {
    return runner_.busy(WorkLane::Pick);
}

void PickCommands::record(const std::optional<SearchPanel>& panel, const BacktestSettings& settings) {
    if (recording())
        return;  // the pick asked for a moment ago is still being chosen
    std::shared_ptr<const HistorySnapshot> history;
    try {
        history = panel ? history_.snapshot() : nullptr;
    } catch (const std::exception& e) {
        refuse(QString::fromStdString(failureText(e)));
        return;
    }
    if (!history) {
        refuse(QStringLiteral("历史数据库不可用，不能记录预测。"));
        return;
    }
    // The choice does not look at 取消.
    runner_.start<Choice>(
        this, {WorkLane::Pick, QStringLiteral("正在选取预测…"), false},
        [history, panel = *panel, settings](JobControl&) -> Choice {
            // Nothing may escape a worker: the refusal is said instead.
            try {
                return {choosePick(*history, panel, settings.top, settings.mode), {}};
            } catch (const std::exception& e) {
                return {{}, QString::fromStdString(failureText(e))};
            }
        },
        [this, history, panel = *panel, settings](const Choice& choice) { store(choice, history, panel, settings); });
}

void PickCommands::store(const Choice& choice, const std::shared_ptr<const HistorySnapshot>& history,
                         const SearchPanel& panel, const BacktestSettings& settings) {
    if (!choice.problem.isEmpty()) {
        refuse(choice.problem);
        return;
    }
    HistoryDb* db = history_.database();
    // A draw stored or deleted here meanwhile has replaced the snapshot: the values were chosen
    // on a history that is gone.
    if (!db || history_.snapshot() != history) {
        refuse(QStringLiteral("选取预测期间历史已有变动，预测未记录；请再记录一次。"));
        return;
    }
    try {
        const ScoredPick pick =
            storePick(*db, *history, panel, settings.top, settings.mode, choice.values, utcTimeNow());
        emit done(QStringLiteral("已为第 %1 期记录预测（编号 %2，%3）：%4")
                      .arg(pick.record.issue)
                      .arg(pick.record.id)
                      .arg(QString::fromStdString(pick.modeText()), QString::fromStdString(pick.valuesLine())));
    } catch (const std::exception& e) {
        refuse(QString::fromStdString(failureText(e)));
        return;
    }
    if (book_)
        book_->reload();
}

void PickCommands::refuse(const QString& reason) {
    dialogs_.message(window_, MessageKind::Warning, QStringLiteral("预测未记录"), reason);
}

void PickCommands::showBook() {
    if (!book_) {
        book_ = new PickBookDialog(history_, spreadsheets_, dialogs_, window_);
        connect(book_, &PickBookDialog::exportDone, this, &PickCommands::done);
    }
    book_->show();
    book_->raise();
    book_->activateWindow();
}

}  // namespace drawfollow

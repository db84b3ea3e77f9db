#include "app/search/pick_commands.h"

#include "analysis/pick_book.h"
#include "app/history/history_controller.h"
#include "app/search/pick_book_dialog.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/wait_cursor.h"

#include <QWidget>

namespace drawfollow {

PickCommands::PickCommands(HistoryController& history, UserDialogs& dialogs, QWidget* window)
    : QObject(window), history_(history), dialogs_(dialogs), window_(window) {}

void PickCommands::record(const std::optional<SearchPanel>& panel, const BacktestSettings& settings) {
    const QString title = QStringLiteral("预测未记录");
    HistoryDb* db = history_.database();
    if (!panel || !db) {
        dialogs_.message(window_, MessageKind::Warning, title, QStringLiteral("历史数据库不可用，不能记录预测。"));
        return;
    }
    try {
        const WaitCursor busy;
        const ScoredPick pick = recordPick(*db, *panel, settings.top, settings.mode, utcTimeNow());
        emit done(QStringLiteral("已为第 %1 期记录预测（编号 %2，%3）：%4")
                      .arg(pick.record.issue)
                      .arg(pick.record.id)
                      .arg(QString::fromStdString(pick.modeText()), QString::fromStdString(pick.valuesLine())));
    } catch (const std::exception& e) {
        dialogs_.message(window_, MessageKind::Warning, title, QString::fromStdString(failureText(e)));
        return;
    }
    if (book_)
        book_->reload();
}

void PickCommands::showBook() {
    if (!book_) {
        book_ = new PickBookDialog(history_, dialogs_, window_);
        connect(book_, &PickBookDialog::exportDone, this, &PickCommands::done);
    }
    book_->show();
    book_->raise();
    book_->activateWindow();
}

}  // namespace drawfollow

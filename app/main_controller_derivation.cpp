// The controller's half that keeps the stored rows derived under the settings in force:
// the zodiac and segment menus, and the code table of the next issue's zodiac year. A code
// compared or named under another table than the one it was stored with is wrong, so the
// rows follow every change at once, all of them in one transaction.
#include "app/main_controller.h"

#include "io/history_rederive.h"
#include "store/derivation_record.h"

namespace drawfollow {

namespace {

QString described(const DerivationSettings& settings) {
    return QString::fromStdString(describeDerivation(settings));
}

}  // namespace

DerivationSettings MainController::settingsInForce(int nextIssue) const {
    return settingsForNextIssue(settings_.zodiacOffset(), settings_.segmentOffset(), settings_.sequentialZodiac(),
                                nextIssue);
}

HistoryChange MainController::followSettingsInForce() {
    zodiacYear_ = startupCodeTableYear(nextIssue_);
    const DerivationSettings wanted = settingsInForce(nextIssue_);
    if (!db_) {
        derivation_ = wanted;
        return {};
    }
    HistoryChange change;
    std::optional<DerivationSettings> recorded;
    try {
        recorded = db_->recordedDerivation();
        if (recorded && derivesSameRows(*recorded, wanted)) {
            derivation_ = *recorded;
            return {};
        }
        // Until the rows follow, they are named by what they were derived with.
        derivation_ = recorded.value_or(wanted);
        const RederiveSummary done = rederiveHistory(*db_, wanted);
        derivation_ = wanted;
        if (done.draws == 0)
            return {};
        history_ = db_->drawValues();
        const QString why =
            recorded ? QStringLiteral("号码属性的参数由“%1”变为“%2”").arg(described(*recorded), described(wanted))
                     : QStringLiteral("历史数据库没有记录号码属性所用的参数，现按“%1”").arg(described(wanted));
        change.summary = QStringLiteral("%1：已重算全部 %2 期历史号码的生肖和段数。").arg(why).arg(done.draws) +
                         safetyCopyNote(done.safetyCopy);
    } catch (const std::exception& e) {
        change.problem =
            QStringLiteral("未能按“%1”重算历史号码的生肖和段数，历史号码未作改动%2。\n%3")
                .arg(described(wanted),
                     recorded ? QStringLiteral("，仍按“%1”计算和显示").arg(described(*recorded)) : QString(),
                     QString::fromUtf8(e.what()));
    }
    return change;
}

HistoryChange MainController::applySettingChange(AppSettings::Key key, int previous) {
    HistoryChange change = followSettingsInForce();
    if (change.failed()) {
        settings_.setValue(key, previous);
        change.problem += QStringLiteral("\n设置已恢复为原来的选择。");
    }
    refreshPanel();
    return change;
}

HistoryChange MainController::setZodiacOffset(int offset) {
    if (offset != 0 && offset != 1)
        return {};
    const int previous = settings_.zodiacOffset();
    settings_.setZodiacOffset(offset);
    return applySettingChange(AppSettings::Key::ZodiacOffset, previous);
}

HistoryChange MainController::setSegmentOffset(int offset) {
    if (offset != 0 && offset != 1)
        return {};
    const int previous = settings_.segmentOffset();
    settings_.setSegmentOffset(offset);
    return applySettingChange(AppSettings::Key::SegmentOffset, previous);
}

HistoryChange MainController::setSequentialZodiac(bool on) {
    const int previous = settings_.sequentialZodiac();
    settings_.setSequentialZodiac(on);
    return applySettingChange(AppSettings::Key::SequentialZodiac, previous);
}

}  // namespace drawfollow

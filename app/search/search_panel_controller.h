// The search panel's state without any widget: the selected tab, the base values of the
// two automatic tabs, the hand-typed values, the verified issue, the options that steer a
// search, and the searches themselves. It reads the history side and follows its signals.
#pragma once

#include "analysis/backtest.h"
#include "analysis/search.h"
#include "analysis/search_panel.h"
#include "app/shell/app_settings.h"

#include <QObject>
#include <QString>

#include <array>
#include <optional>

namespace drawfollow {

class HistoryController;

// The two search buttons: 检索 the follow search, 组合检索 the combination search.
enum class SearchButton { Follow, Combination };

// The position tabs: where the reference values come from.
enum class PanelTab { History = 0, Manual = 1, Verify = 2 };

// What one automatic panel (tab 1 or tab 3) holds: the values of its base draw, or why
// there is none.
struct BaseValues {
    std::optional<std::array<int, kPositions>> values;
    QString note;    // plain words shown in the panel
    QString source;  // the base draw, for the summary of a search: "依据第 2026096 期"
};

class SearchPanelController : public QObject {
    Q_OBJECT

public:
    SearchPanelController(HistoryController& history, AppSettings& settings, QObject* parent = nullptr);

    const AppSettings& settings() const { return settings_; }
    // Whether a search can run at all: there is a history database.
    bool canSearch() const;
    std::optional<int> rangeStart() const;
    std::optional<int> rangeEnd() const;

    PanelTab tab() const { return tab_; }
    void selectTab(PanelTab tab);
    void refreshPanel();
    void setFreePositions(bool on);
    void setCountSpecial(bool on);
    void setPreviousIssue(bool on);
    void setGap(int gap);
    void setSearchKind(Kind kind);
    void setResultKind(Kind kind);
    void setTallyScope(TallyScope scope);
    void setComboRegularOnly(bool on);
    void setComboSize(int size);
    void setBacktest(const BacktestSettings& backtest);
    void setManualValue(int position, std::optional<int> value);  // position 1..8
    void setVerificationText(const QString& text);                // the verified issue
    void setLimitBeforeVerification(bool on);                     // 仅检索该期前
    QString verificationText() const { return verificationText_; }

    const BaseValues& historyBase() const { return historyBase_; }
    const BaseValues& verifyBase() const { return verifyBase_; }
    // The texts of the tab's eight value boxes: names for the zodiac kind.
    std::array<QString, kPositions> baseTexts(PanelTab tab) const;
    // The panel as the backtest reads it; none when there is no database.
    std::optional<SearchPanel> panelState(SearchButton button, const std::array<bool, kPositions>& ticked,
                                          const QString& firstIssue, const QString& lastIssue) const;
    // The history a backtest answers from, shared read-only with its worker; throws
    // StoreError, in words for the user, when there is none or it cannot be read.
    std::shared_ptr<const HistorySnapshot> backtestHistory();
    // The base of the selected tab in words, for the summary of a search.
    QString baseSource() const;
    // The panel as it stands, described for analysis/search_panel.h, and what it gives: the
    // search ready to run on any connection to the history (search_job.h), or its refusal.
    PanelSearch panelSearch(SearchButton button, const std::array<bool, kPositions>& ticked, const QString& firstIssue,
                            const QString& lastIssue) const;

signals:
    void verificationTextChanged(const QString& text);
    void rangeStartChanged(int issue);
    void rangeEndChanged(int issue);
    void positionsChanged();

private:
    // The history changed: the verified issue becomes the next issue, the range follows, the bases are
    // read again. The start of the range is set afresh only when `rangeStartFollows`.
    void followHistory(bool rangeStartFollows);
    // The panel as it stands, described for analysis/search_panel.h.
    SearchPanel describePanel(SearchButton button, const std::array<bool, kPositions>& ticked,
                              const QString& firstIssue, const QString& lastIssue) const;
    void fillHistoryBase();
    void fillVerifyBase();
    void emitRangeStart();
    void emitRangeEnd();

    HistoryController& history_;
    AppSettings& settings_;
    PanelTab tab_ = PanelTab::History;
    BaseValues historyBase_;
    BaseValues verifyBase_;
    std::array<std::optional<int>, kPositions> manualValues_{};
    QString verificationText_ = QStringLiteral("2013001");
    bool limitBeforeVerification_ = false;
};

}  // namespace drawfollow

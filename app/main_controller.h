// The window's state without any widget: the history database, the ordered snapshot of
// the history, the search panel's state, the zodiac code table and the hand entry. The
// widgets call it on user actions and follow its signals.
#pragma once

#include "analysis/panel_defaults.h"
#include "analysis/panel_values.h"
#include "analysis/search.h"
#include "analysis/search_panel.h"
#include "analysis/verification_base.h"
#include "app/app_settings.h"
#include "app/history_change.h"
#include "app/ui_text.h"
#include "io/history_import.h"
#include "store/clock.h"
#include "store/history_db.h"

#include <QObject>
#include <QString>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace drawfollow {

class OnlineUpdate;
struct SafetyCopyListing;

// The two search buttons: Command1 follow search, Command2 combination search.
enum class SearchButton { Follow, Combination };

// TabStrip1: where the reference values come from.
enum class PanelTab { History = 0, Manual = 1, Verify = 2 };

// The data folder start-up found, or why there is none.
struct DataFolderChoice {
    std::filesystem::path folder;
    QString problem;
};

// What one automatic panel (tab 1 or tab 3) holds: the values of its base draw, or why
// there is none.
struct BaseValues {
    std::optional<std::array<int, kPositions>> values;
    QString note;    // plain words shown in the panel
    QString source;  // the base draw, for the summary of a search: "依据第 2026096 期"
};

struct EntryOutcome {
    bool stored = false;
    int box = -1;  // what to correct: 1..8 a number box, 0 the issue box, -1 nothing in particular
    QString problem;
};

class MainController : public QObject {
    Q_OBJECT

public:
    MainController(AppSettings& settings, const Clock& clock, QObject* parent = nullptr);
    ~MainController() override;

    // Start-up: settings, database, panel state, zodiac year, range, position
    // values, code table; the widgets then show the history.
    void start(const DataFolderChoice& folder);

    // The history.
    bool historyAvailable() const { return db_ != nullptr; }
    const QString& storeProblem() const { return storeProblem_; }
    // The database file start-up opened or tried to open; empty without a data folder.
    const std::filesystem::path& databaseFile() const { return databaseFile_; }
    const std::vector<StoredDraw>& history() const { return history_; }
    int nextIssue() const { return nextIssue_; }
    std::optional<int> rangeStart() const;
    std::optional<int> rangeEnd() const;

    // Hand entry: stores the draw under the issue text, or says what is wrong.
    EntryOutcome storeDraw(const QString& issueText, const std::array<QString, kPositions>& boxes);
    // Reads the history afresh after a change made past the controller (an online update)
    // and refreshes all that shows it; an error text, empty on success.
    QString reloadHistory();
    // An online update of this history from the chart service at `host`, keeping the
    // IniSerchDay years before the clock's year; none without a database. The caller starts
    // it and calls reloadHistory() once it has finished.
    std::unique_ptr<OnlineUpdate> onlineUpdate(const QString& host);
    // What that update drops once it has read every page, in words for the confirmation;
    // empty when it drops nothing.
    QString onlineUpdateDropNotice();

    // The history menu and the text files (main_controller_maintenance.cpp). A command
    // that deletes draws saves the history to a safety copy first; a failed one leaves the
    // history as it was.
    std::filesystem::path dataFolder() const;    // empty without one
    HistoryChange deleteNewest();                // Command3, mnuErase: the newest draw, then a compaction
    HistoryChange trimHistoryTo(int lastKept);   // mnuDlzd
    HistoryChange deleteNewestCount(int count);  // mnuEszhzd
    HistoryChange clearAllDraws();               // mnuClear
    HistoryChange importHistoryText(const std::filesystem::path& file, const BatchProgress& progress);  // cmdRdLst
    // Replaces the history with a safety copy, saving it first (mnuRestore).
    HistoryChange restoreSafetyCopy(const SafetyCopyListing& copy, const BatchProgress& progress);
    HistoryChange exportHistoryText();  // Command4
    void setYearsToKeep(int years);     // mnuSetDay

    // Settings as read at start-up and kept up to date.
    const AppSettings& settings() const { return settings_; }
    // The settings the stored rows were derived with: new rows are derived with them and
    // stored codes are named by their code table. They follow the settings in force
    // (the menus, and the zodiac year of the next issue) as soon as the rows have been
    // derived again (main_controller_derivation.cpp).
    const DerivationSettings& derivation() const { return derivation_; }
    const ZodiacCodeTable& codeTable() const { return derivation_.codes; }
    // The zodiac year of the next issue, which the code table in force is built for.
    int zodiacYear() const { return zodiacYear_; }
    // What start-up did to bring the stored rows to the settings in force, or why it could
    // not; empty when nothing needed doing.
    const HistoryChange& startupDerivation() const { return startupDerivation_; }

    // The search panel.
    PanelTab tab() const { return tab_; }
    bool manual() const { return tab_ == PanelTab::Manual; }
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
    void setManualValue(int position, std::optional<int> value);  // position 1..8
    void setVerificationText(const QString& text);                // Text4
    void setLimitBeforeVerification(bool on);                     // Check4
    QString verificationText() const { return verificationText_; }

    const BaseValues& historyBase() const { return historyBase_; }
    const BaseValues& verifyBase() const { return verifyBase_; }
    // The texts of Text2(1..8) or Text2(11..18): names for the zodiac kind.
    std::array<QString, kPositions> baseTexts(PanelTab tab) const;
    // The position values of the selected tab, position 1 first; none where there is none.
    std::array<std::optional<int>, kPositions> positionValues() const;
    // Why a search must not run on the panel as it stands; empty when it may.
    QString searchRefusal(SearchButton button, const std::array<bool, kPositions>& ticked, const QString& firstIssue,
                          const QString& lastIssue) const;
    // The panel state as the searches read it (analysis/search.h); values empty when a
    // needed position has none.
    SearchInputs searchInputs(SearchButton button, const std::array<bool, kPositions>& ticked,
                              const QString& firstIssue, const QString& lastIssue) const;
    // Command1 / Command2: refuses, with both grids on their headers,
    // when the panel has no base values.
    SearchResult runSearch(SearchButton button, const std::array<bool, kPositions>& ticked, const QString& firstIssue,
                           const QString& lastIssue);

    // The settings menu. A change that alters the stored values derives every row again
    // (after a safety copy); when that fails the setting goes back to what it was.
    HistoryChange setZodiacOffset(int offset);   // mnuSxcs
    HistoryChange setSegmentOffset(int offset);  // mnuDscs
    HistoryChange setSequentialZodiac(bool on);  // mnuSxsetup
    void setUpdateHost(const QString& host);
    // The window's size and splitter, for the next start.
    void saveWindowLayout(AppSettings::LayoutKey key, const QByteArray& state) { settings_.setLayoutState(key, state); }

signals:
    void historyReset();
    void drawAppended();
    void nextIssueChanged(int issue);
    void verificationTextChanged(const QString& text);
    void rangeStartChanged(int issue);
    void rangeEndChanged(int issue);
    void positionsChanged();
    // The stored rows were derived again after a change of the history or the settings,
    // or could not be: what to tell the user.
    void derivationChanged(const HistoryChange& change);

private:
    void openDatabase(const DataFolderChoice& folder);
    void afterHistoryChange(bool firstIssueChanged);
    // The settings in force for the history as it stands: the menus' settings, the code
    // table for the zodiac year of the next issue.
    DerivationSettings settingsInForce(int nextIssue) const;
    // The settings a history read from a file is derived with, once its newest issue is known.
    ImportDerivation replacementDerivation() const;
    // Derives the stored rows again when the settings in force differ from theirs.
    HistoryChange followSettingsInForce();
    // A menu's setting changed: follow it, or put it back when the rows cannot.
    HistoryChange applySettingChange(AppSettings::Key key, int previous);
    void showNextIssue();
    // The panel as it stands, described for analysis/search_panel.h, and what it gives.
    PanelSearch panelSearch(SearchButton button, const std::array<bool, kPositions>& ticked, const QString& firstIssue,
                            const QString& lastIssue) const;
    void fillHistoryBase();
    void fillVerifyBase();
    void emitRangeStart();
    HistoryChange refreshAfter(HistoryChange change);
    HistoryChange unavailableChange() const;

    AppSettings& settings_;
    const Clock& clock_;
    std::unique_ptr<HistoryDb> db_;
    QString storeProblem_;
    std::filesystem::path databaseFile_;
    std::vector<StoredDraw> history_;
    int nextIssue_ = 0;
    int zodiacYear_ = 0;
    DerivationSettings derivation_;
    HistoryChange startupDerivation_;

    PanelTab tab_ = PanelTab::History;
    BaseValues historyBase_;
    BaseValues verifyBase_;
    std::array<std::optional<int>, kPositions> manualValues_{};
    QString verificationText_ = QStringLiteral("2013001");
    bool limitBeforeVerification_ = false;
};

}  // namespace drawfollow

// The user's choices, kept in a QSettings store under organisation and application
// "FlwZMBRQLC", group "IniSetting". Every key, with its name, default and
// valid range, is in one table (app_settings.cpp). Values are text: "True"/"False" for
// flags, decimal for integers. A value is written the moment it is set; a value that
// cannot be read (not a flag word or number, or out of range) reads as its default.
#pragma once

#include "analysis/backtest.h"
#include "store/draw.h"

#include <QByteArray>
#include <QString>

class QSettings;

namespace drawfollow {

enum class TallyScope : int;  // analysis/search.h

class AppSettings {
public:
    // Each key is stored under the name the settings table gives it (bolZyw, intLei, ...):
    // existing profiles keep their values.
    enum class Key {
        FreePositions,     // 自由位 rather than 固定位
        PreviousIssue,     // 上期 rather than 前期
        SearchKind,        // Kind 0..5
        CountSpecial,      // 自由位计特码 0/1
        TallyScope,        // TallyScope 0 平特, 1 平码, 2 特码
        ResultKind,        // Kind 0..5
        ComboRegularOnly,  // combination over the regular numbers only
        Gap,               // gap of 前期 mode
        ComboSize,         // combination size 1..6
        ZodiacOffset,      // zodiac offset 0/1
        SegmentOffset,     // segment offset 0/1
        SequentialZodiac,  // zodiac codes in sequence rather than by age
        YearsToKeep,       // years of history the online update keeps
        BacktestTargets,   // 回测最新: how many of the newest draws a backtest tries
        BacktestTop,       // 前 K 个: how many of a tally's first values it counts
        BacktestExclude,   // 杀号: the tally's last values rather than its first
        Count
    };
    // Keys whose value is free text, kept as typed (without surrounding blanks).
    enum class TextKey {
        UpdateHost,  // address of the results chart service; empty until the user gives one
        HomePage,    // the home page of the help menu; empty for the manual's first page
        Count
    };

    // The window's size, place and splitter, as Qt's own state bytes, kept between runs.
    enum class LayoutKey { WindowGeometry, SplitterState, ResultSplitterState, Count };

    static constexpr const char* kOrganisation = "FlwZMBRQLC";
    static constexpr const char* kApplication = "FlwZMBRQLC";
    static constexpr const char* kGroup = "IniSetting";

    // The store is not owned; tests pass a QSettings over a temporary file.
    explicit AppSettings(QSettings& store);

    static QString name(Key key);
    static QString name(TextKey key);
    static QString name(LayoutKey key);

    // Generic access by key; flags read as 0/1.
    int value(Key key) const;
    void setValue(Key key, int value);
    QString text(TextKey key) const;
    void setText(TextKey key, const QString& text);
    // Empty when none was saved; Qt's restore functions refuse bytes they cannot read.
    QByteArray layoutState(LayoutKey key) const;
    void setLayoutState(LayoutKey key, const QByteArray& state);

    bool freePositions() const { return value(Key::FreePositions) != 0; }
    void setFreePositions(bool on) { setValue(Key::FreePositions, on); }
    bool previousIssue() const { return value(Key::PreviousIssue) != 0; }
    void setPreviousIssue(bool on) { setValue(Key::PreviousIssue, on); }
    Kind searchKind() const { return static_cast<Kind>(value(Key::SearchKind)); }
    void setSearchKind(Kind kind) { setValue(Key::SearchKind, index(kind)); }
    bool countSpecial() const { return value(Key::CountSpecial) != 0; }
    void setCountSpecial(bool on) { setValue(Key::CountSpecial, on); }
    TallyScope tallyScope() const { return static_cast<TallyScope>(value(Key::TallyScope)); }
    void setTallyScope(TallyScope scope) { setValue(Key::TallyScope, static_cast<int>(scope)); }
    Kind resultKind() const { return static_cast<Kind>(value(Key::ResultKind)); }
    void setResultKind(Kind kind) { setValue(Key::ResultKind, index(kind)); }
    bool comboRegularOnly() const { return value(Key::ComboRegularOnly) != 0; }
    void setComboRegularOnly(bool on) { setValue(Key::ComboRegularOnly, on); }
    int gap() const { return value(Key::Gap); }
    void setGap(int gap) { setValue(Key::Gap, gap); }
    int comboSize() const { return value(Key::ComboSize); }
    void setComboSize(int size) { setValue(Key::ComboSize, size); }
    int zodiacOffset() const { return value(Key::ZodiacOffset); }
    int segmentOffset() const { return value(Key::SegmentOffset); }
    bool sequentialZodiac() const { return value(Key::SequentialZodiac) != 0; }
    int yearsToKeep() const { return value(Key::YearsToKeep); }
    void setYearsToKeep(int years) { setValue(Key::YearsToKeep, years); }
    BacktestSettings backtest() const {
        return {value(Key::BacktestTargets), value(Key::BacktestTop),
                value(Key::BacktestExclude) != 0 ? PickMode::Exclude : PickMode::Top};
    }
    void setBacktest(const BacktestSettings& backtest) {
        setValue(Key::BacktestTargets, backtest.targets);
        setValue(Key::BacktestTop, backtest.top);
        setValue(Key::BacktestExclude, backtest.mode == PickMode::Exclude ? 1 : 0);
    }
    // The largest backtest the boxes offer.
    static constexpr int kMostBacktestTargets = 1000;
    static constexpr int kMostBacktestTop = 30;
    QString updateHost() const { return text(TextKey::UpdateHost); }
    void setUpdateHost(const QString& host) { setText(TextKey::UpdateHost, host); }
    QString homePage() const { return text(TextKey::HomePage); }

private:
    QSettings& store_;
};

}  // namespace drawfollow

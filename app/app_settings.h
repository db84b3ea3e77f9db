// The user's choices, kept in a QSettings store under organisation and application
// "FlwZMBRQLC", group "IniSetting". Every key, with its name, default and
// valid range, is in one table (app_settings.cpp). Values are text: "True"/"False" for
// flags, decimal for integers. A value is written the moment it is set; a value that
// cannot be read (not a flag word or number, or out of range) reads as its default.
#pragma once

#include <QString>

class QSettings;

namespace drawfollow {

class AppSettings {
public:
    enum class Key {
        bolZyw,         // free positions (自由位) rather than fixed (固定位)
        bolSq,          // 上期 rather than 前期
        intLei,         // search kind 0..5
        intIdfTm,       // 自由位计特码 0/1
        intConsqSort,   // tally scope 0 平特, 1 平码, 2 特码
        intXianshiLei,  // result kind 0..5
        bolZhpm,        // combination over the regular numbers only
        intPreQi,       // gap of 前期 mode
        intZhWSetup,    // combination size 1..6
        SxIni,          // zodiac offset 0/1
        DsIni,          // segment offset 0/1
        SxSetup,        // zodiac codes in sequence rather than by age
        IniSerchDay,    // years of history the online update keeps
        Count
    };
    // Keys whose value is free text, kept as typed (without surrounding blanks).
    enum class TextKey {
        UpdateHost,  // address of the results chart service; empty until the user gives one
        HomePage,    // the home page of the help menu; empty for the manual's first page
        Count
    };

    static constexpr const char* kOrganisation = "FlwZMBRQLC";
    static constexpr const char* kApplication = "FlwZMBRQLC";
    static constexpr const char* kGroup = "IniSetting";

    // The store is not owned; tests pass a QSettings over a temporary file.
    explicit AppSettings(QSettings& store);

    static QString name(Key key);
    static QString name(TextKey key);

    // Generic access by key; flags read as 0/1.
    int value(Key key) const;
    void setValue(Key key, int value);
    QString text(TextKey key) const;
    void setText(TextKey key, const QString& text);

    bool freePositions() const { return value(Key::bolZyw) != 0; }
    void setFreePositions(bool on) { setValue(Key::bolZyw, on); }
    bool previousIssue() const { return value(Key::bolSq) != 0; }
    void setPreviousIssue(bool on) { setValue(Key::bolSq, on); }
    int searchKind() const { return value(Key::intLei); }
    void setSearchKind(int kind) { setValue(Key::intLei, kind); }
    bool countSpecial() const { return value(Key::intIdfTm) != 0; }
    void setCountSpecial(bool on) { setValue(Key::intIdfTm, on); }
    int tallyScope() const { return value(Key::intConsqSort); }
    void setTallyScope(int scope) { setValue(Key::intConsqSort, scope); }
    int resultKind() const { return value(Key::intXianshiLei); }
    void setResultKind(int kind) { setValue(Key::intXianshiLei, kind); }
    bool comboRegularOnly() const { return value(Key::bolZhpm) != 0; }
    void setComboRegularOnly(bool on) { setValue(Key::bolZhpm, on); }
    int gap() const { return value(Key::intPreQi); }
    void setGap(int gap) { setValue(Key::intPreQi, gap); }
    int comboSize() const { return value(Key::intZhWSetup); }
    void setComboSize(int size) { setValue(Key::intZhWSetup, size); }
    int zodiacOffset() const { return value(Key::SxIni); }
    void setZodiacOffset(int offset) { setValue(Key::SxIni, offset); }
    int segmentOffset() const { return value(Key::DsIni); }
    void setSegmentOffset(int offset) { setValue(Key::DsIni, offset); }
    bool sequentialZodiac() const { return value(Key::SxSetup) != 0; }
    void setSequentialZodiac(bool on) { setValue(Key::SxSetup, on); }
    int yearsToKeep() const { return value(Key::IniSerchDay); }
    void setYearsToKeep(int years) { setValue(Key::IniSerchDay, years); }
    QString updateHost() const { return text(TextKey::UpdateHost); }
    void setUpdateHost(const QString& host) { setText(TextKey::UpdateHost, host); }
    QString homePage() const { return text(TextKey::HomePage); }

private:
    QSettings& store_;
};

}  // namespace drawfollow

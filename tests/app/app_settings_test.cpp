// The typed settings wrapper over a temporary settings file.
#include "app/shell/app_settings.h"
#include "analysis/search.h"
#include "support/temp_dir.h"

#include <QSettings>
#include <QTest>

#include <iterator>
#include <utility>

using namespace drawfollow;
using Key = AppSettings::Key;

class AppSettingsTest : public QObject {
    Q_OBJECT

    QString file() const { return QString::fromStdString((dir_ / "settings.ini").string()); }
    QString stored(Key key) const {
        QSettings s(file(), QSettings::IniFormat);
        return s.value(QStringLiteral("IniSetting/") + AppSettings::name(key)).toString();
    }
    void preset(Key key, const QString& text) {
        QSettings s(file(), QSettings::IniFormat);
        s.setValue(QStringLiteral("IniSetting/") + AppSettings::name(key), text);
    }
    test::TempDir dir_;

private slots:
    void init() { std::filesystem::remove(dir_ / "settings.ini"); }

    void defaultsOfAFreshProfile() {
        QSettings store(file(), QSettings::IniFormat);
        AppSettings s(store);
        QVERIFY(s.freePositions());
        QVERIFY(s.previousIssue());
        QCOMPARE(s.searchKind(), Kind::Number);
        QVERIFY(s.countSpecial());
        QCOMPARE(s.tallyScope(), TallyScope::All);
        QCOMPARE(s.resultKind(), Kind::Number);
        QVERIFY(!s.comboRegularOnly());
        QCOMPARE(s.gap(), 2);
        QCOMPARE(s.comboSize(), 2);
        QCOMPARE(s.zodiacOffset(), 1);
        QCOMPARE(s.segmentOffset(), 1);
        QVERIFY(!s.sequentialZodiac());
        QCOMPARE(s.yearsToKeep(), 6);
        QCOMPARE(s.backtest().targets, 100);
        QCOMPARE(s.backtest().top, 5);
        QCOMPARE(s.backtest().mode, PickMode::Top);
        QVERIFY(store.allKeys().isEmpty());  // reading writes nothing
    }

    // The enumerators are ours; the names under which existing profiles hold the values are not.
    void everyKeyKeepsItsStoredName_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("name");
        const std::pair<Key, const char*> names[] = {
            {Key::FreePositions, "bolZyw"},     {Key::PreviousIssue, "bolSq"},
            {Key::SearchKind, "intLei"},        {Key::CountSpecial, "intIdfTm"},
            {Key::TallyScope, "intConsqSort"},  {Key::ResultKind, "intXianshiLei"},
            {Key::ComboRegularOnly, "bolZhpm"}, {Key::Gap, "intPreQi"},
            {Key::ComboSize, "intZhWSetup"},    {Key::ZodiacOffset, "SxIni"},
            {Key::SegmentOffset, "DsIni"},      {Key::SequentialZodiac, "SxSetup"},
            {Key::YearsToKeep, "IniSerchDay"},  {Key::BacktestTargets, "BacktestTargets"},
            {Key::BacktestTop, "BacktestTop"},  {Key::BacktestExclude, "BacktestExclude"}};
        static_assert(std::size(names) == static_cast<size_t>(Key::Count));
        for (const auto& [key, name] : names)
            QTest::newRow(name) << int(key) << QString::fromLatin1(name);
    }
    void everyKeyKeepsItsStoredName() {
        QFETCH(int, key);
        QFETCH(QString, name);
        QCOMPARE(AppSettings::name(static_cast<Key>(key)), name);
    }

    // The typed accessors read and write the same codes as the stored integers.
    void kindsAndScopeAreStoredAsTheirCodes() {
        QSettings store(file(), QSettings::IniFormat);
        AppSettings s(store);
        s.setSearchKind(Kind::Segment);
        s.setResultKind(Kind::Head);
        s.setTallyScope(TallyScope::Regular);
        QCOMPARE(stored(Key::SearchKind), QStringLiteral("5"));
        QCOMPARE(stored(Key::ResultKind), QStringLiteral("2"));
        QCOMPARE(stored(Key::TallyScope), QStringLiteral("1"));
        preset(Key::SearchKind, QStringLiteral("1"));
        preset(Key::TallyScope, QStringLiteral("2"));
        QSettings reread(file(), QSettings::IniFormat);
        AppSettings r(reread);
        QCOMPARE(r.searchKind(), Kind::Zodiac);
        QCOMPARE(r.tallyScope(), TallyScope::Special);
    }

    void valuesAreWrittenAsTextTheMomentTheyChange() {
        QSettings store(file(), QSettings::IniFormat);
        AppSettings s(store);
        s.setFreePositions(false);
        s.setComboRegularOnly(true);
        s.setComboSize(4);
        s.setGap(7);
        // A second reader of the file sees them at once: nothing waits for shut-down.
        QCOMPARE(stored(Key::FreePositions), QStringLiteral("False"));
        QCOMPARE(stored(Key::ComboRegularOnly), QStringLiteral("True"));
        QCOMPARE(stored(Key::ComboSize), QStringLiteral("4"));
        QCOMPARE(stored(Key::Gap), QStringLiteral("7"));
    }

    void roundTrip() {
        {
            QSettings store(file(), QSettings::IniFormat);
            AppSettings s(store);
            s.setSearchKind(Kind::Tail);
            s.setResultKind(Kind::Segment);
            s.setTallyScope(TallyScope::Special);
            // The settings menus change these three by key.
            s.setValue(Key::ZodiacOffset, 0);
            s.setValue(Key::SegmentOffset, 0);
            s.setValue(Key::SequentialZodiac, 1);
            s.setPreviousIssue(false);
            s.setCountSpecial(false);
            s.setYearsToKeep(16);
        }
        QSettings store(file(), QSettings::IniFormat);
        AppSettings s(store);
        QCOMPARE(s.searchKind(), Kind::Tail);
        QCOMPARE(s.resultKind(), Kind::Segment);
        QCOMPARE(s.tallyScope(), TallyScope::Special);
        QCOMPARE(s.zodiacOffset(), 0);
        QCOMPARE(s.segmentOffset(), 0);
        QVERIFY(s.sequentialZodiac());
        QVERIFY(!s.previousIssue());
        QVERIFY(!s.countSpecial());
        QCOMPARE(s.yearsToKeep(), 16);
        QCOMPARE(stored(Key::CountSpecial), QStringLiteral("0"));
        QCOMPARE(stored(Key::SequentialZodiac), QStringLiteral("True"));
    }

    void unreadableValueReadsAsDefault_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("integer key with words") << int(Key::ComboSize) << QStringLiteral("vier") << 2;
        QTest::newRow("integer out of range") << int(Key::SearchKind) << QStringLiteral("9") << 0;
        QTest::newRow("gap 0") << int(Key::Gap) << QStringLiteral("0") << 2;
        QTest::newRow("years 17") << int(Key::YearsToKeep) << QStringLiteral("17") << 6;
        QTest::newRow("flag with words") << int(Key::PreviousIssue) << QStringLiteral("perhaps") << 1;
        QTest::newRow("flag lower case") << int(Key::ComboRegularOnly) << QStringLiteral("true") << 1;
        QTest::newRow("flag as number") << int(Key::FreePositions) << QStringLiteral("0") << 0;
        QTest::newRow("blanks around") << int(Key::ResultKind) << QStringLiteral(" 4 ") << 4;
        QTest::newRow("empty") << int(Key::ZodiacOffset) << QString() << 1;
    }
    void unreadableValueReadsAsDefault() {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, expected);
        preset(static_cast<Key>(key), text);
        QSettings store(file(), QSettings::IniFormat);
        AppSettings s(store);
        QCOMPARE(s.value(static_cast<Key>(key)), expected);
    }
};

QTEST_GUILESS_MAIN(AppSettingsTest)
#include "app_settings_test.moc"

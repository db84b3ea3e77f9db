// The typed settings wrapper over a temporary settings file.
#include "app/app_settings.h"
#include "support/temp_dir.h"

#include <QSettings>
#include <QTest>

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
        QCOMPARE(s.searchKind(), 0);
        QVERIFY(s.countSpecial());
        QCOMPARE(s.tallyScope(), 0);
        QCOMPARE(s.resultKind(), 0);
        QVERIFY(!s.comboRegularOnly());
        QCOMPARE(s.gap(), 2);
        QCOMPARE(s.comboSize(), 2);
        QCOMPARE(s.zodiacOffset(), 1);
        QCOMPARE(s.segmentOffset(), 1);
        QVERIFY(!s.sequentialZodiac());
        QCOMPARE(s.yearsToKeep(), 6);
        QVERIFY(store.allKeys().isEmpty());  // reading writes nothing
    }

    void keyNamesAreThoseOfThePart() {
        const QStringList names = {
            QStringLiteral("bolZyw"),     QStringLiteral("bolSq"),        QStringLiteral("intLei"),
            QStringLiteral("intIdfTm"),   QStringLiteral("intConsqSort"), QStringLiteral("intXianshiLei"),
            QStringLiteral("bolZhpm"),    QStringLiteral("intPreQi"),     QStringLiteral("intZhWSetup"),
            QStringLiteral("SxIni"),      QStringLiteral("DsIni"),        QStringLiteral("SxSetup"),
            QStringLiteral("IniSerchDay")};
        for (int k = 0; k < static_cast<int>(Key::Count); ++k)
            QCOMPARE(AppSettings::name(static_cast<Key>(k)), names[k]);
    }

    void valuesAreWrittenAsTextTheMomentTheyChange() {
        QSettings store(file(), QSettings::IniFormat);
        AppSettings s(store);
        s.setFreePositions(false);
        s.setComboRegularOnly(true);
        s.setComboSize(4);
        s.setGap(7);
        // A second reader of the file sees them at once: nothing waits for shut-down.
        QCOMPARE(stored(Key::bolZyw), QStringLiteral("False"));
        QCOMPARE(stored(Key::bolZhpm), QStringLiteral("True"));
        QCOMPARE(stored(Key::intZhWSetup), QStringLiteral("4"));
        QCOMPARE(stored(Key::intPreQi), QStringLiteral("7"));
    }

    void roundTrip() {
        {
            QSettings store(file(), QSettings::IniFormat);
            AppSettings s(store);
            s.setSearchKind(3);
            s.setResultKind(5);
            s.setTallyScope(2);
            s.setZodiacOffset(0);
            s.setSegmentOffset(0);
            s.setSequentialZodiac(true);
            s.setPreviousIssue(false);
            s.setCountSpecial(false);
            s.setYearsToKeep(16);
        }
        QSettings store(file(), QSettings::IniFormat);
        AppSettings s(store);
        QCOMPARE(s.searchKind(), 3);
        QCOMPARE(s.resultKind(), 5);
        QCOMPARE(s.tallyScope(), 2);
        QCOMPARE(s.zodiacOffset(), 0);
        QCOMPARE(s.segmentOffset(), 0);
        QVERIFY(s.sequentialZodiac());
        QVERIFY(!s.previousIssue());
        QVERIFY(!s.countSpecial());
        QCOMPARE(s.yearsToKeep(), 16);
        QCOMPARE(stored(Key::intIdfTm), QStringLiteral("0"));
        QCOMPARE(stored(Key::SxSetup), QStringLiteral("True"));
    }

    void unreadableValueReadsAsDefault_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("integer key with words") << int(Key::intZhWSetup) << QStringLiteral("vier") << 2;
        QTest::newRow("integer out of range") << int(Key::intLei) << QStringLiteral("9") << 0;
        QTest::newRow("gap 0") << int(Key::intPreQi) << QStringLiteral("0") << 2;
        QTest::newRow("years 17") << int(Key::IniSerchDay) << QStringLiteral("17") << 6;
        QTest::newRow("flag with words") << int(Key::bolSq) << QStringLiteral("perhaps") << 1;
        QTest::newRow("flag lower case") << int(Key::bolZhpm) << QStringLiteral("true") << 1;
        QTest::newRow("flag as number") << int(Key::bolZyw) << QStringLiteral("0") << 0;
        QTest::newRow("blanks around") << int(Key::intXianshiLei) << QStringLiteral(" 4 ") << 4;
        QTest::newRow("empty") << int(Key::SxIni) << QString() << 1;
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

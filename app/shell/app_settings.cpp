#include "app/shell/app_settings.h"

#include <QSettings>

#include <array>

namespace drawfollow {

namespace {

struct KeyInfo {
    const char* name;
    bool flag;
    int defaultValue;
    int low;
    int high;
};

// The gap is one digit 1..9: 0 would make a draw its own reference.
constexpr std::array<KeyInfo, static_cast<size_t>(AppSettings::Key::Count)> kKeys = {{
    {"bolZyw", true, 1, 0, 1},
    {"bolSq", true, 1, 0, 1},
    {"intLei", false, 0, 0, 5},
    {"intIdfTm", false, 1, 0, 1},
    {"intConsqSort", false, 0, 0, 2},
    {"intXianshiLei", false, 0, 0, 5},
    {"bolZhpm", true, 0, 0, 1},
    {"intPreQi", false, 2, 1, 9},
    {"intZhWSetup", false, 2, 1, 6},
    {"SxIni", false, 1, 0, 1},
    {"DsIni", false, 1, 0, 1},
    {"SxSetup", true, 0, 0, 1},
    {"IniSerchDay", false, 6, 2, 16},
    {"BacktestTargets", false, BacktestSettings{}.targets, 1, AppSettings::kMostBacktestTargets},
    {"BacktestTop", false, BacktestSettings{}.top, 1, AppSettings::kMostBacktestTop},
    {"BacktestExclude", true, 0, 0, 1},
}};

struct TextKeyInfo {
    const char* name;
    const char* defaultText;
};

constexpr std::array<TextKeyInfo, static_cast<size_t>(AppSettings::TextKey::Count)> kTextKeys = {{
    {"UpdateHost", ""},
    {"HomePage", ""},
}};

struct LayoutKeyInfo {
    const char* name;
};

constexpr std::array<LayoutKeyInfo, static_cast<size_t>(AppSettings::LayoutKey::Count)> kLayoutKeys = {{
    {"WindowGeometry"},
    {"SplitterState"},
    {"ResultSplitterState"},
}};

const LayoutKeyInfo& info(AppSettings::LayoutKey key) {
    return kLayoutKeys[static_cast<size_t>(key)];
}

const TextKeyInfo& info(AppSettings::TextKey key) {
    return kTextKeys[static_cast<size_t>(key)];
}

const KeyInfo& info(AppSettings::Key key) {
    return kKeys[static_cast<size_t>(key)];
}

template <class K>
QString path(K key) {
    return QLatin1String(AppSettings::kGroup) + QLatin1Char('/') + QLatin1String(info(key).name);
}

}  // namespace

AppSettings::AppSettings(QSettings& store) : store_(store) {}

QString AppSettings::name(Key key) {
    return QLatin1String(info(key).name);
}

QString AppSettings::name(TextKey key) {
    return QLatin1String(info(key).name);
}

QString AppSettings::name(LayoutKey key) {
    return QLatin1String(info(key).name);
}

int AppSettings::value(Key key) const {
    const KeyInfo& k = info(key);
    const QVariant stored = store_.value(path(key));
    if (!stored.isValid())
        return k.defaultValue;
    const QString text = stored.toString().trimmed();
    if (k.flag) {
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return 1;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return 0;
    }
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        return k.defaultValue;
    if (k.flag)
        return n != 0;  // a hand-edited 0 or 1 reads as a flag too
    return n >= k.low && n <= k.high ? n : k.defaultValue;
}

void AppSettings::setValue(Key key, int value) {
    const KeyInfo& k = info(key);
    const QString text = k.flag ? (value ? QStringLiteral("True") : QStringLiteral("False")) : QString::number(value);
    store_.setValue(path(key), text);
    store_.sync();
}

QString AppSettings::text(TextKey key) const {
    return store_.value(path(key), QString::fromUtf8(info(key).defaultText)).toString().trimmed();
}

void AppSettings::setText(TextKey key, const QString& text) {
    store_.setValue(path(key), text.trimmed());
    store_.sync();
}

QByteArray AppSettings::layoutState(LayoutKey key) const {
    return store_.value(path(key)).toByteArray();
}

void AppSettings::setLayoutState(LayoutKey key, const QByteArray& state) {
    store_.setValue(path(key), state);
    store_.sync();
}

}  // namespace drawfollow

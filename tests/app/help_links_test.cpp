// Where the window finds its manual and which pages the help items lead to.
#include "app/shell/help_links.h"
#include "app/shell/app_icon.h"
#include "support/temp_dir.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace drawfollow;

namespace {

QString text(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// A manual folder holding its first page.
QString makeManual(const QString& folder) {
    QDir().mkpath(folder);
    QFile page(QDir(folder).filePath(QStringLiteral("index.html")));
    if (!page.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(page.fileName()));
    page.write("<html></html>");
    return QDir::cleanPath(folder);
}

}  // namespace

class HelpLinksTest : public QObject {
    Q_OBJECT

private slots:
    void theBuildTreeHasTheManualWhereTheWindowLooks() {
        const QString folder = findManualFolder(QStringLiteral(DRAWFOLLOW_WINDOW_FOLDER), {});
        QVERIFY2(!folder.isEmpty(), DRAWFOLLOW_WINDOW_FOLDER);
        for (const char* page : {kManualFirstPage, kManualWalkThrough})
            QVERIFY2(QFile::exists(manualPage(folder, page).toLocalFile()), page);
    }

    void theManualBesideTheProgramComesBeforeTheDataFolders() {
        test::TempDir dir;
        const QString program = text(dir / "usr" / "bin");
        QDir().mkpath(program);
        const QString data = makeManual(text(dir / "data" / "doc" / "drawfollow" / "manual"));
        QCOMPARE(findManualFolder(program, {text(dir / "data")}), data);

        const QString beside = makeManual(text(dir / "usr" / "share" / "doc" / "drawfollow" / "manual"));
        QCOMPARE(findManualFolder(program, {text(dir / "data")}), beside);
    }

    void aFolderWithoutTheFirstPageIsPassedOver() {
        test::TempDir dir;
        QDir().mkpath(text(dir / "empty" / "doc" / "drawfollow" / "manual"));
        QCOMPARE(findManualFolder(text(dir / "bin"), {text(dir / "empty")}), QString());
        const QString second = makeManual(text(dir / "second" / "doc" / "drawfollow" / "manual"));
        QCOMPARE(findManualFolder(text(dir / "bin"), {text(dir / "empty"), text(dir / "second")}), second);
    }

    void theHomePageIsTheSettingOrElseTheManual() {
        const QString manual = QStringLiteral("/opt/manual");
        QCOMPARE(homePage({}, manual), QUrl::fromLocalFile(QStringLiteral("/opt/manual/index.html")));
        QCOMPARE(homePage(QStringLiteral("https://example.net/df/"), manual),
                 QUrl(QStringLiteral("https://example.net/df/")));
        QCOMPARE(homePage(QStringLiteral("example.net"), manual), QUrl(QStringLiteral("http://example.net")));
        QVERIFY(homePage({}, {}).isEmpty());
        QVERIFY(manualPage({}, kManualWalkThrough).isEmpty());
    }

    void theWindowIconHasEverySizeTheDesktopUses() {
        const QList<QSize> sizes = applicationIcon().availableSizes();
        for (int side : {16, 32, 48, 256})
            QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
    }
};

QTEST_MAIN(HelpLinksTest)
#include "help_links_test.moc"

// Handing a file to the desktop: the system's opener may start and then find no program for
// the file; that is reported as well as an opener that cannot start at all, and an opener
// that succeeds reports nothing. A stand-in xdg-open on the PATH plays the system's.
#include "app/shell/desktop_open.h"
#include "support/temp_dir.h"

#include <QFile>
#include <QTest>

#include <filesystem>

using namespace drawfollow;

namespace {

// A PATH holding only an xdg-open that ends with `status` and leaves the file it was given.
class StandInOpener {
public:
    explicit StandInOpener(int status) : savedPath_(qgetenv("PATH")) {
        const std::filesystem::path script = dir_ / "xdg-open";
        test::writeFile(script,
                        "#!/bin/sh\necho \"$1\" > \"$(dirname \"$0\")/given\"\nexit " + std::to_string(status) + "\n");
        std::filesystem::permissions(script, std::filesystem::perms::owner_all);
        qputenv("PATH", QByteArray::fromStdString(dir_.path().string()) + ":/usr/bin:/bin");
    }
    ~StandInOpener() { qputenv("PATH", savedPath_); }

    QString given() const {
        QFile f(QString::fromStdString((dir_ / "given").string()));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
    }

private:
    test::TempDir dir_;
    QByteArray savedPath_;
};

}  // namespace

class DesktopOpenTest : public QObject {
    Q_OBJECT

private slots:
    void anOpenerThatFindsNoProgramIsReported() {
        const StandInOpener opener(3);  // xdg-open's "no method available"
        bool reported = false;
        openOnDesktop(QUrl::fromLocalFile(QStringLiteral("/tmp/lishi.xlsx")), this, [&] { reported = true; });
        QTRY_VERIFY(reported);
        QCOMPARE(opener.given(), QStringLiteral("/tmp/lishi.xlsx"));
    }

    void anOpenerThatSucceedsReportsNothing() {
        const StandInOpener opener(0);
        bool reported = false;
        openOnDesktop(QUrl(QStringLiteral("https://example.org/")), this, [&] { reported = true; });
        QTRY_COMPARE(opener.given(), QStringLiteral("https://example.org/"));
        QTest::qWait(200);
        QVERIFY(!reported);
    }

    void noOpenerAtAllIsReported() {
        const QByteArray saved = qgetenv("PATH");
        const test::TempDir empty;
        qputenv("PATH", QByteArray::fromStdString(empty.path().string()));
        bool reported = false;
        openOnDesktop(QUrl::fromLocalFile(QStringLiteral("/tmp/zoushi.xlsx")), this, [&] { reported = true; });
        QTRY_VERIFY(reported);
        qputenv("PATH", saved);
    }

    // The window that asked is gone: nobody is told.
    void aGoneContextIsNotCalled() {
        const StandInOpener opener(3);
        bool reported = false;
        {
            QObject context;
            openOnDesktop(QUrl::fromLocalFile(QStringLiteral("/tmp/yilou.xlsx")), &context, [&] { reported = true; });
        }
        QTRY_COMPARE(opener.given(), QStringLiteral("/tmp/yilou.xlsx"));
        QTest::qWait(200);
        QVERIFY(!reported);
    }
};

QTEST_MAIN(DesktopOpenTest)
#include "desktop_open_test.moc"

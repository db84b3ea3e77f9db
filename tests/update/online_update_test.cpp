// The online update against a real HTTP server on 127.0.0.1 serving the fixture chart
// pages: which pages are asked for, what is stored, how failures and Cancel end it, and
// the command-line tool doing the same.
#include "net/online_update.h"
#include "chart_server.h"
#include "io/history_text.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"
#include "test_paths.h"

#include <QFile>
#include <QNetworkProxy>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <random>

namespace drawfollow {

namespace {

constexpr int kWaitMs = 60000;  // an upper bound for a hung test, not a timing expectation

std::vector<DrawInput> chartDraws(const std::function<bool(int issue)>& wanted) {
    std::vector<DrawInput> draws =
        readHistoryFile(std::filesystem::path(DRAWFOLLOW_TEST_DATA_DIR) / "update" / "chart_draws.txt").draws;
    std::erase_if(draws, [&](const DrawInput& d) { return !wanted(d.issue); });
    return draws;
}

std::vector<DrawInput> allChartDraws() {
    return chartDraws([](int) { return true; });
}

QStringList targets(std::initializer_list<int> years) {
    QStringList list;
    for (int y : years)
        list << QString::fromStdString(chartPagePath(y));
    return list;
}

QByteArray garbage(int size) {
    std::mt19937 rng(4711);
    QByteArray bytes(size, '\0');
    for (char& b : bytes)
        b = static_cast<char>(rng());
    return bytes;
}

// Every year 2011..2014 served as the fixture pages have it.
void serveAllYears(test::ChartServer& server) {
    server.servePage(2011, QStringLiteral("chart_2011_utf8_undeclared.html"), "text/html");
    server.servePage(2012, QStringLiteral("chart_2012_gbk_http_charset.html"), "text/html; charset=GBK");
    server.servePage(2013, QStringLiteral("chart_2013_gbk_meta.html"), "text/html");
    server.servePage(2014, QStringLiteral("chart_2014_utf8_meta.html"), "text/html; charset=utf-8");
}

// The 2013 fixture page with the row of `issue` spoiled as `how` says: "left out",
// "seven numbers", "issue before", "last year's issue" or "letters".
QByteArray spoiled2013Page(int issue, const QString& how) {
    QFile file(QString::fromStdString(
        (std::filesystem::path(DRAWFOLLOW_TEST_DATA_DIR) / "update" / "chart_2013_gbk_meta.html").string()));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray page = file.readAll();
    const QByteArray issueCell = "<td>" + QByteArray::number(issue) + "</td>";
    const qsizetype at = page.indexOf(issueCell);
    const qsizetype rowStart = page.lastIndexOf("<tr>", at);
    const qsizetype rowEnd = page.indexOf("</tr>", at) + 5;
    // The cells after the issue's: the date, then the eight numbers.
    const auto numberCell = [&](int position) {
        qsizetype cell = at;
        for (int i = 0; i <= position + 1; ++i)
            cell = page.indexOf("<td>", cell + 1);
        return cell;
    };
    if (how == QLatin1String("left out"))
        page.remove(rowStart, rowEnd - rowStart);
    else if (how == QLatin1String("seven numbers"))
        page.remove(numberCell(3), page.indexOf("</td>", numberCell(3)) + 5 - numberCell(3));
    else if (how == QLatin1String("issue before"))
        page.replace(at, issueCell.size(), "<td>" + QByteArray::number(issue - 1) + "</td>");
    else if (how == QLatin1String("last year's issue"))
        page.replace(at, issueCell.size(), "<td>" + QByteArray::number(issue - 1000) + "</td>");
    else
        page.replace(numberCell(4) + 4, 2, "1a");
    return page;
}

}  // namespace

class OnlineUpdateTest : public QObject {
    Q_OBJECT

private:
    struct Setup {
        test::TempDir dir;
        HistoryDb db{dir / HistoryDb::kFileName};
        test::ChartServer server;

        std::unique_ptr<OnlineUpdate> update(int currentYear, int keepYears, FetchLimits limits = {}) {
            UpdateRequest request{server.host().toStdString(), keepYears, currentYear};
            // New rows are derived as the stored ones were.
            const DerivationSettings settings = db.recordedDerivation().value_or(test::settingsFor(currentYear));
            return std::make_unique<OnlineUpdate>(db, settings, request, limits);
        }
    };

    struct CliRun {
        int exitCode = -1;
        QString out;
        QString err;
    };

    // drawfollow-cli update over the setup's data folder, with a settings folder of its own.
    static CliRun runCliUpdate(Setup& s, const QStringList& options) {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((s.dir / "config").string()));
        cli.setProcessEnvironment(env);
        QSignalSpy done(&cli, &QProcess::finished);
        cli.start(QStringLiteral(DRAWFOLLOW_CLI_PATH),
                  QStringList{QStringLiteral("--data-dir"), QString::fromStdString(s.dir.path().string()),
                              QStringLiteral("update")} +
                      options);
        if (!done.wait(kWaitMs))
            return {};
        return {cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
                QString::fromUtf8(cli.readAllStandardError())};
    }

    // Starts the update and runs the event loop until it has finished.
    static bool runToEnd(OnlineUpdate& update) {
        QSignalSpy finished(&update, &OnlineUpdate::finished);
        update.start();
        return finished.wait(kWaitMs) && finished.count() == 1;
    }

private slots:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void historyEndingMidYearAsksForThatYearOnly() {
        Setup s;
        serveAllYears(s.server);
        s.db.appendBatch(chartDraws([](int issue) { return issue <= 2013150; }), test::settingsFor(2013));
        auto update = s.update(2013, 6);
        QVERIFY(runToEnd(*update));
        QCOMPARE(s.server.requests(), targets({2013}));
        QVERIFY(s.db.draws() == chartDraws([](int issue) { return issue <= 2013153; }));
        QVERIFY2(update->summary().succeeded(), update->summary().message().c_str());
        QCOMPARE(update->summary().added, size_t{3});
    }

    void historyEndingLastYearAsksForBothYears() {
        Setup s;
        serveAllYears(s.server);
        s.db.appendBatch(chartDraws([](int issue) { return issue <= 2013153; }), test::settingsFor(2013));
        auto update = s.update(2014, 6);
        QSignalSpy read(update.get(), &OnlineUpdate::yearRead);
        QVERIFY(runToEnd(*update));
        QCOMPARE(s.server.requests(), targets({2013, 2014}));
        // 2014006, the draw to come, is passed over without a word.
        QVERIFY(s.db.draws() == allChartDraws());
        QVERIFY2(update->summary().succeeded(), update->summary().message().c_str());
        QVERIFY(update->summary().message().find("2014006") == std::string::npos);
        QCOMPARE(read.count(), 2);
        QCOMPARE(read.at(0), (QVariantList{2013, 0, 0}));
        QCOMPARE(read.at(1), (QVariantList{2014, 5, 5}));
    }

    void pageWithoutTheFirstIssueAddsNothing() {
        Setup s;
        serveAllYears(s.server);
        s.server.servePage(2014, QStringLiteral("chart_2014_no_draws_yet.html"));
        s.db.appendBatch(chartDraws([](int issue) { return issue <= 2013153; }), test::settingsFor(2013));
        auto update = s.update(2014, 6);
        QVERIFY(runToEnd(*update));
        QCOMPARE(s.server.requests(), targets({2013, 2014}));
        QCOMPARE(update->summary().added, size_t{0});
        QVERIFY2(update->summary().succeeded(), update->summary().message().c_str());
    }

    void emptyHistoryKeepingThreeYears() {
        Setup s;
        serveAllYears(s.server);
        auto update = s.update(2014, 3);
        QSignalSpy started(update.get(), &OnlineUpdate::yearStarted);
        QVERIFY(runToEnd(*update));
        QCOMPARE(s.server.requests(), targets({2011, 2012, 2013, 2014}));
        QCOMPARE(started.at(0), (QVariantList{2011, 1, 4}));
        QCOMPARE(started.at(3), (QVariantList{2014, 4, 4}));
        QVERIFY(s.db.draws() == allChartDraws());
        // Rows added online are derived like any other: the second row follows the first.
        const std::vector<DrawRow> rows = test::everyRow(s.db);
        QVERIFY(rows[1].previous == rows[0].own);
        QCOMPARE(rows[1].issueText, std::string("2011002"));
    }

    void failingPageEndsTheUpdate_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("reasonPart");
        QTest::newRow("never answers") << "silent" << QStringLiteral("秒内没有送完网页");
        QTest::newRow("404") << "404" << QStringLiteral("HTTP 404");
        QTest::newRow("garbage") << "garbage" << QStringLiteral("无法识别");
        QTest::newRow("huge, length declared") << "huge" << QStringLiteral("10 MiB 的上限");
        QTest::newRow("endless, no length") << "endless" << QStringLiteral("10 MiB 的上限");
    }

    void failingPageEndsTheUpdate() {
        QFETCH(QString, failure);
        QFETCH(QString, reasonPart);
        Setup s;
        serveAllYears(s.server);
        const qint64 overLimit = 10 * 1024 * 1024 + 1;
        if (failure == QLatin1String("silent"))
            s.server.serveNothing(2013);
        else if (failure == QLatin1String("404"))
            s.server.serveNotFound(2013);
        else if (failure == QLatin1String("garbage"))
            s.server.serveBytes(2013, garbage(64 * 1024));
        else if (failure == QLatin1String("huge"))
            s.server.serveHuge(2013, overLimit);
        else
            s.server.serveEndless(2013);
        // Three draws of 2010, which a complete update keeping 3 years would drop, and 2011's first two.
        const std::vector<DrawInput> old = test::seededDraws(3, 5, 2010001);
        s.db.appendBatch(old, test::settingsFor(2010));
        s.db.appendBatch(chartDraws([](int issue) { return issue <= 2011002; }), test::settingsFor(2010));

        FetchLimits limits;
        if (failure == QLatin1String("silent"))
            limits.timeout = std::chrono::milliseconds(300);  // keeps the test quick
        auto update = s.update(2014, 3, limits);
        QVERIFY(runToEnd(*update));

        const UpdateSummary& summary = update->summary();
        QVERIFY(summary.failure);
        QCOMPARE(summary.failure->year, 2013);
        QVERIFY2(QString::fromStdString(summary.failure->reason).contains(reasonPart), summary.failure->reason.c_str());
        QVERIFY(summary.yearsNotRead == std::vector<int>{2014});
        QCOMPARE(s.server.requests(), targets({2011, 2012, 2013}));
        // Nothing is dropped; what the years before read is stored.
        std::vector<DrawInput> expected = old;
        for (const DrawInput& d : chartDraws([](int issue) { return issue < 2013000; }))
            expected.push_back(d);
        QVERIFY(s.db.draws() == expected);
        const QString message = QString::fromStdString(summary.message());
        QVERIFY2(message.contains(QStringLiteral("新增 5 期")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("没有删除任何历史号码：2011 年以前的 3 期")), qPrintable(message));
    }

    void cancelWhileAPageIsLoading() {
        Setup s;
        serveAllYears(s.server);
        s.server.serveNothing(2012);
        auto update = s.update(2014, 3);
        QSignalSpy finished(update.get(), &OnlineUpdate::finished);
        update->start();
        QTRY_COMPARE_WITH_TIMEOUT(s.server.requests().size(), 2, kWaitMs);
        QVERIFY(update->running());
        update->cancel();
        QVERIFY(!update->running());
        QCOMPARE(finished.count(), 1);
        QVERIFY(update->summary().cancelled);
        QVERIFY(update->summary().yearsNotRead == (std::vector<int>{2012, 2013, 2014}));
        QVERIFY(s.db.draws() == chartDraws([](int issue) { return issue < 2012000; }));
        // Nothing arrives afterwards: a second finished() or a late page would show here.
        QTest::qWait(100);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(s.server.requests().size(), 2);
    }

    void cancelFromTheProgressSignalAsksForNoPage() {
        Setup s;
        serveAllYears(s.server);
        auto update = s.update(2014, 3);
        connect(update.get(), &OnlineUpdate::yearStarted, update.get(), [&](int year) {
            if (year == 2012)
                update->cancel();
        });
        QVERIFY(runToEnd(*update));
        QVERIFY(update->summary().cancelled);
        QTest::qWait(200);  // time for a request that should not have been made to arrive
        QCOMPARE(s.server.requests(), targets({2011}));
    }

    void commandLineToolRunsTheUpdate() {
        Setup s;
        serveAllYears(s.server);
        s.server.serveNotFound(2014);
        const CliRun run =
            runCliUpdate(s, {QStringLiteral("--host"), s.server.host(), QStringLiteral("--current-year"),
                             QStringLiteral("2014"), QStringLiteral("--keep-years"), QStringLiteral("3")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.startsWith(QStringLiteral("读取 2011 年的开奖网页（1/4）…… 已读取 4 期\n")),
                 qPrintable(run.out));
        QVERIFY2(run.out.contains(QStringLiteral("读取 2013 年的开奖网页（3/4）…… 已读取 153 期\n")),
                 qPrintable(run.out));
        QVERIFY2(run.out.contains(QStringLiteral("读取 2014 年的开奖网页（4/4）…… 失败\n")), qPrintable(run.out));
        QVERIFY2(run.err.contains(QStringLiteral("2014 年的开奖网页读取失败：服务器回答 HTTP 404")),
                 qPrintable(run.err));
        QVERIFY(s.db.draws() == chartDraws([](int issue) { return issue < 2014000; }));
    }

    void spoiledRowStopsTheUpdateWithoutAGap_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("named");
        QTest::newRow("left out") << "left out"
                                  << "2013120";
        QTest::newRow("seven numbers") << "seven numbers"
                                       << "2013120";
        QTest::newRow("the issue before") << "issue before"
                                          << "2013119";
        QTest::newRow("last year's issue") << "last year's issue"
                                           << "2012120";
        QTest::newRow("letters") << "letters"
                                 << "2013120";
    }

    // A past year's row at fault: the draws before it are stored, none after it (2014 is not
    // even asked for), nothing is dropped, and the failure names the issue and the page.
    void spoiledRowStopsTheUpdateWithoutAGap() {
        QFETCH(QString, how);
        QFETCH(QString, named);
        Setup s;
        serveAllYears(s.server);
        s.server.serveBytes(2013, spoiled2013Page(2013120, how));
        const std::vector<DrawInput> old = test::seededDraws(3, 5, 2010001);
        s.db.appendBatch(old, test::settingsFor(2010));
        s.db.appendBatch(chartDraws([](int issue) { return issue <= 2013100; }), test::settingsFor(2010));

        auto update = s.update(2014, 3);
        QVERIFY(runToEnd(*update));
        QCOMPARE(s.server.requests(), targets({2013}));
        std::vector<DrawInput> expected = old;
        for (const DrawInput& d : chartDraws([](int issue) { return issue <= 2013119; }))
            expected.push_back(d);
        QVERIFY(s.db.draws() == expected);

        const UpdateSummary& summary = update->summary();
        QVERIFY(!summary.succeeded());
        QVERIFY(summary.failure);
        QCOMPARE(summary.failure->year, 2013);
        const QString message = QString::fromStdString(summary.message());
        QVERIFY2(message.contains(named), qPrintable(message));
        QVERIFY2(message.contains(s.server.host() + QString::fromStdString(chartPagePath(2013))), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("新增 19 期")), qPrintable(message));
        QVERIFY2(message.contains(QStringLiteral("没有删除任何历史号码")), qPrintable(message));
        QVERIFY(summary.yearsNotRead == std::vector<int>{2014});
    }

    void commandLineToolStopsAtASpoiledRow() {
        Setup s;
        serveAllYears(s.server);
        s.server.serveBytes(2013, spoiled2013Page(2013152, QStringLiteral("seven numbers")));
        s.db.appendBatch(chartDraws([](int issue) { return issue <= 2013150; }), test::settingsFor(2011));
        const CliRun run =
            runCliUpdate(s, {QStringLiteral("--host"), s.server.host(), QStringLiteral("--current-year"),
                             QStringLiteral("2014"), QStringLiteral("--keep-years"), QStringLiteral("3")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("2013152")), qPrintable(run.err));
        QVERIFY2(run.err.contains(s.server.host()), qPrintable(run.err));
        QVERIFY(s.db.draws() == chartDraws([](int issue) { return issue <= 2013151; }));
    }

    void commandLineToolAnnouncesTheDropAndKeepsAllWhenItFails_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("reasonPart");
        QTest::newRow("refused") << QStringLiteral("http://127.0.0.1:1") << QStringLiteral("拒绝连接");
        QTest::newRow("port out of range") << QStringLiteral("http://127.0.0.1:99999") << QStringLiteral("无效");
    }

    void commandLineToolAnnouncesTheDropAndKeepsAllWhenItFails() {
        QFETCH(QString, host);
        QFETCH(QString, reasonPart);
        Setup s;
        const std::vector<DrawInput> before = test::seededDraws(300, 5, 2005001, 150);
        s.db.appendBatch(before, test::settingsFor(2005));
        const CliRun run =
            runCliUpdate(s, {QStringLiteral("--host"), host, QStringLiteral("--current-year"), QStringLiteral("2014"),
                             QStringLiteral("--keep-years"), QStringLiteral("6")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.out.startsWith(QStringLiteral("将删除 2008 年以前的 300 期历史号码，删除前自动备份。\n")),
                 qPrintable(run.out));
        QVERIFY2(run.err.contains(reasonPart), qPrintable(run.err));
        QVERIFY2(run.err.contains(QStringLiteral("没有删除任何历史号码")), qPrintable(run.err));
        QVERIFY(s.db.draws() == before);
        QVERIFY(safetyCopies(s.dir.path()).empty());
    }
};

}  // namespace drawfollow

QTEST_GUILESS_MAIN(drawfollow::OnlineUpdateTest)
#include "online_update_test.moc"

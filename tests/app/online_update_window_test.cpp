// Command21 and the chart address in the real window, against a chart server on 127.0.0.1
// serving the fixture pages: the confirmation, asking for a missing address, the progress
// dialog and its Cancel, the commands switched off while an update runs, the closing
// refresh and the one message that reports the outcome.
#include "app/shell/flex_grid.h"
#include "chart_server.h"
#include "database_probes.h"
#include "io/history_text.h"
#include "io/update_plan.h"
#include "support/temp_dir.h"
#include "test_paths.h"
#include "window_session.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkProxy>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

constexpr int kWaitMs = 60000;  // an upper bound for a hung test, not a timing expectation

const QString kConfirmTitle = QStringLiteral("读入历史");
const QString kConfirmText = QStringLiteral(
    "确实要在线更新最新历史号码吗？更新可能要花费一段时间，网络不通或者我方服务器更新不及时可能都造成更新失败！");

std::vector<DrawInput> chartDraws(const std::function<bool(int issue)>& wanted) {
    std::vector<DrawInput> draws =
        readHistoryFile(std::filesystem::path(DRAWFOLLOW_TEST_DATA_DIR) / "update" / "chart_draws.txt").draws;
    std::erase_if(draws, [&](const DrawInput& d) { return !wanted(d.issue); });
    return draws;
}

QStringList targets(std::initializer_list<int> years) {
    QStringList list;
    for (int y : years)
        list << QString::fromStdString(chartPagePath(y));
    return list;
}

// 2013001 to 2013150: 150 draws.
std::vector<DrawInput> draws2013Through150() {
    return chartDraws([](int issue) { return issue >= 2013001 && issue <= 2013150; });
}

// The 2013 and 2014 pages as the fixtures have them: 2013 ends at 2013153; 2014 lists
// 001 to 005 and 006, the draw to come, without numbers.
void serveRecentYears(ChartServer& server) {
    server.servePage(2013, QStringLiteral("chart_2013_gbk_meta.html"), "text/html");
    server.servePage(2014, QStringLiteral("chart_2014_utf8_meta.html"), "text/html; charset=utf-8");
}

int gridRows(const WindowSession& s) {
    return s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model()->rowCount();
}

QString gridIssue(const WindowSession& s, int row) {
    const auto* model = s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model();
    return model->index(row < 0 ? model->rowCount() + row : row, 0).data().toString();
}

QString boxText(const WindowSession& s, const char* name) {
    return s.find<QLineEdit>(QLatin1String(name))->text();
}

// Every widget and menu item that changes the history.
QList<QObject*> historyCommands(const WindowSession& s) {
    QList<QObject*> list;
    for (const char* name : {"Command3", "cmdRdLst", "Command21"})
        list << s.find<QPushButton>(QLatin1String(name));
    list << s.find<QLineEdit>(QStringLiteral("Text1"));
    for (int p = 1; p <= 8; ++p)
        list << s.find<QLineEdit>(QStringLiteral("MaskEdBox1_%1").arg(p));
    for (const char* name : {"mnuErase", "mnuClear", "mnuDlzd", "mnuEszhzd"})
        list << s.find<QAction>(QLatin1String(name));
    return list;
}

// The names of those among them whose enabled state is not `enabled`.
QStringList notInState(const WindowSession& s, bool enabled) {
    QStringList wrong;
    for (QObject* o : historyCommands(s))
        if (o->property("enabled").toBool() != enabled)
            wrong << o->objectName();
    return wrong;
}

// An update of the 2013 draws up to 150, started and waiting on the page of 2014 (which
// never comes) once 2013's page gave three draws.
bool startStalledUpdate(WindowSession& s, ChartServer& server) {
    serveRecentYears(server);
    server.serveNothing(2014);
    s.seed(draws2013Through150());
    s.presetSetting(QStringLiteral("UpdateHost"), server.host());
    if (!s.start())
        return false;
    s.dialogs().setNextConfirm(true);
    s.find<QPushButton>(QStringLiteral("Command21"))->click();
    return QTest::qWaitFor([&server] { return server.requests().size() == 2; }, kWaitMs);
}

QProgressDialog* progressDialog(WindowSession& s) {
    return s.window().findChild<QProgressDialog*>(QStringLiteral("updateProgress"));
}

}  // namespace

class OnlineUpdateWindowTest : public QObject {
    Q_OBJECT

    // Confirms and clicks Command21, then waits until the outcome is reported: the message
    // after the confirmation (and after an address box, when one is scripted).
    static void runUpdate(WindowSession& s, int messagesBefore = 1) {
        s.dialogs().setNextConfirm(true);
        s.find<QPushButton>(QStringLiteral("Command21"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(s.dialogs().messages().size(), messagesBefore + 1, kWaitMs);
    }

private slots:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void cancelledConfirmationChangesNothing() {
        WindowSession s(2014);
        ChartServer server;
        serveRecentYears(server);
        s.seed(draws2013Through150());
        s.presetSetting(QStringLiteral("UpdateHost"), server.host());
        QVERIFY(s.start());
        s.dialogs().setNextConfirm(false);
        const QStringList offBefore = notInState(s, true);
        FIND_ENABLED(QPushButton, command21, s, "Command21");
        command21->click();
        QCOMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(s.dialogs().messages().first().title, kConfirmTitle);
        QCOMPARE(s.dialogs().messages().first().text, kConfirmText);
        QVERIFY(!progressDialog(s));
        QVERIFY(server.requests().isEmpty());
        QCOMPARE(gridRows(s), 150);
        QCOMPARE(notInState(s, true), offBefore);
    }

    void missingAddressIsAskedForAndKept() {
        WindowSession s(2013);
        ChartServer server;
        serveRecentYears(server);
        s.seed(draws2013Through150());
        QVERIFY(s.start());

        // Cancelling the address box ends the command before any request.
        s.dialogs().setNextConfirm(true);
        s.dialogs().setNextInput(std::nullopt);
        s.find<QPushButton>(QStringLiteral("Command21"))->click();
        QCOMPARE(s.dialogs().messages().size(), 2);
        QCOMPARE(s.dialogs().messages().at(1).title, QStringLiteral("在线更新网址设置"));
        QVERIFY(!progressDialog(s));
        QVERIFY(s.storedText(QStringLiteral("UpdateHost")).isEmpty());
        QCOMPARE(gridRows(s), 150);

        s.dialogs().clear();
        s.dialogs().setNextInput(server.host());
        runUpdate(s, 2);
        QCOMPARE(s.dialogs().messages().at(1).title, QStringLiteral("在线更新网址设置"));
        QCOMPARE(s.storedText(QStringLiteral("UpdateHost")), server.host());
        QCOMPARE(server.requests(), targets({2013}));
        QCOMPARE(gridRows(s), 153);
        QCOMPARE(s.dialogs().lastText().left(7), QStringLiteral("在线更新完成。"));
    }

    void successfulUpdateRefreshesTheWindow() {
        WindowSession s(2014);
        ChartServer server;
        serveRecentYears(server);
        s.seed(draws2013Through150());
        s.presetSetting(QStringLiteral("UpdateHost"), server.host());
        QVERIFY(s.start());
        runUpdate(s);

        QCOMPARE(server.requests(), targets({2013, 2014}));
        const auto& report = s.dialogs().messages().last();
        QCOMPARE(report.kind, MessageKind::Information);
        QVERIFY2(report.text.contains(QStringLiteral("新增 8 期")), qPrintable(report.text));
        // The grid, the next issue, the range and the search panel follow the new draws.
        QCOMPARE(gridRows(s), 158);
        QCOMPARE(gridIssue(s, -1), QStringLiteral("2014005"));
        QCOMPARE(gridIssue(s, -5), QStringLiteral("2014001"));
        QCOMPARE(boxText(s, "Text1"), QStringLiteral("2014006"));
        QCOMPARE(boxText(s, "Text3_1"), QStringLiteral("2014005"));
        QCOMPARE(s.search().historyBase().note, QStringLiteral("检索依据：第 2014005 期开奖号码"));
        QCOMPARE(s.history().zodiacYear(), 2013);  // 2014005 falls before 2014's Spring Festival
        QTRY_VERIFY(!progressDialog(s));
        QVERIFY2(notInState(s, true).isEmpty(), qPrintable(notInState(s, true).join(u',')));

        // The rows are stored, not only shown.
        QVERIFY(s.restart());
        QCOMPARE(gridRows(s), 158);
    }

    void yearsNoLongerKeptAreDroppedAndTheRangeFollows() {
        WindowSession s(2014);
        ChartServer server;
        serveRecentYears(server);
        s.seed(chartDraws([](int issue) { return issue <= 2013150; }));  // 2011001 onwards: 157 draws
        s.presetSetting(QStringLiteral("UpdateHost"), server.host());
        s.presetSetting(QStringLiteral("IniSerchDay"), QStringLiteral("2"));
        QVERIFY(s.start());
        QCOMPARE(gridIssue(s, 0), QStringLiteral("2011001"));
        runUpdate(s);

        QCOMPARE(s.dialogs().messages().first().text,
                 kConfirmText + QStringLiteral("\n将删除 2012 年以前的 4 期历史号码，删除前自动备份。"));
        const QString report = s.dialogs().lastText();
        QVERIFY2(report.contains(QStringLiteral("已删除 2012 年以前的 4 期")), qPrintable(report));
        QCOMPARE(gridRows(s), 157 - 4 + 8);
        QCOMPARE(gridIssue(s, 0), QStringLiteral("2012001"));
        QCOMPARE(boxText(s, "Text3_0"), QStringLiteral("2012002"));
        QCOMPARE(boxText(s, "Text3_1"), QStringLiteral("2014005"));
    }

    void failedUpdateDropsNothing() {
        WindowSession s(2014);
        ChartServer server;
        serveRecentYears(server);
        server.serveNotFound(2014);
        s.seed(chartDraws([](int issue) { return issue <= 2013150; }));  // 2011001 onwards: 157 draws
        s.presetSetting(QStringLiteral("UpdateHost"), server.host());
        s.presetSetting(QStringLiteral("IniSerchDay"), QStringLiteral("2"));
        QVERIFY(s.start());
        runUpdate(s);

        const auto& report = s.dialogs().messages().last();
        QCOMPARE(report.kind, MessageKind::Warning);
        QVERIFY2(report.text.contains(QStringLiteral("没有删除任何历史号码：2012 年以前的 4 期")),
                 qPrintable(report.text));
        QCOMPARE(gridRows(s), 157 + 3);
        QCOMPARE(gridIssue(s, 0), QStringLiteral("2011001"));
        QCOMPARE(gridIssue(s, -1), QStringLiteral("2013153"));
    }

    void commandsAreOffWhileRunningAndCancelKeepsWhatIsStored() {
        WindowSession s(2014);
        ChartServer server;
        QVERIFY(startStalledUpdate(s, server));

        QProgressDialog* progress = progressDialog(s);
        QVERIFY(progress);
        QVERIFY(progress->isVisible());
        QVERIFY2(progress->labelText().contains(QStringLiteral("2014 年")), qPrintable(progress->labelText()));
        QVERIFY2(progress->labelText().contains(QStringLiteral("已读取 3 期")), qPrintable(progress->labelText()));
        QCOMPARE(progress->value(), 1);
        QCOMPARE(progress->maximum(), 2);
        QVERIFY2(notInState(s, false).isEmpty(), qPrintable(notInState(s, false).join(u',')));
        // Reading and searching the history are not changes: they stay available.
        QVERIFY(s.find<QPushButton>(QStringLiteral("Command1"))->isEnabled());
        QCOMPARE(s.dialogs().messages().size(), 1);  // nothing reported yet

        auto* cancel = progress->findChild<QPushButton*>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(s.dialogs().messages().size(), 2, kWaitMs);
        const auto& report = s.dialogs().messages().last();
        QCOMPARE(report.kind, MessageKind::Warning);
        QVERIFY2(report.text.startsWith(QStringLiteral("在线更新已取消。")), qPrintable(report.text));
        QVERIFY2(report.text.contains(QStringLiteral("新增 3 期")), qPrintable(report.text));
        QCOMPARE(gridRows(s), 153);
        QCOMPARE(boxText(s, "Text1"), QStringLiteral("2013154"));
        QVERIFY2(notInState(s, true).isEmpty(), qPrintable(notInState(s, true).join(u',')));
        QTRY_VERIFY(!progressDialog(s));
    }

    // The update ends while a search still runs: its write waits for the search, then its
    // outcome is shown.
    void theWriteFollowsASearchThatStillRuns() {
        WindowSession s(2014);
        ChartServer server;
        QVERIFY(startStalledUpdate(s, server));

        HeldWriteLock lock(s.databaseFile());  // the search waits for it
        s.find<QPushButton>(QStringLiteral("Command1"))->click();
        QTest::mouseClick(progressDialog(s)->findChild<QPushButton*>(), Qt::LeftButton);
        QTRY_VERIFY(!progressDialog(s));
        QCOMPARE(s.dialogs().messages().size(), 1);  // the write has not started
        QCOMPARE(gridRows(s), 150);
        QVERIFY2(notInState(s, false).isEmpty(), qPrintable(notInState(s, false).join(u',')));

        lock.release();
        QTRY_COMPARE_WITH_TIMEOUT(s.dialogs().messages().size(), 2, kWaitMs);
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("新增 3 期")), qPrintable(s.dialogs().lastText()));
        QCOMPARE(gridRows(s), 153);
        QVERIFY2(notInState(s, true).isEmpty(), qPrintable(notInState(s, true).join(u',')));
    }

    void failingYearIsReportedInOneMessage() {
        WindowSession s(2014);
        ChartServer server;
        serveRecentYears(server);
        server.serveNotFound(2014);
        s.seed(draws2013Through150());
        s.presetSetting(QStringLiteral("UpdateHost"), server.host());
        QVERIFY(s.start());
        runUpdate(s);
        const auto& report = s.dialogs().messages().last();
        QCOMPARE(report.kind, MessageKind::Warning);
        QVERIFY2(report.text.contains(QStringLiteral("2014 年的开奖网页读取失败")), qPrintable(report.text));
        QVERIFY2(report.text.contains(QStringLiteral("HTTP 404")), qPrintable(report.text));
        // What 2013 added stays, and shows.
        QCOMPARE(gridRows(s), 153);
        QCOMPARE(gridIssue(s, -1), QStringLiteral("2013153"));
        QVERIFY2(notInState(s, true).isEmpty(), qPrintable(notInState(s, true).join(u',')));
    }

    // A row of the 2013 page left out: the warning names the missing issue and the page,
    // and the draws before it are stored.
    void spoiledRowIsNamedInTheWarning() {
        WindowSession s(2014);
        ChartServer server;
        serveRecentYears(server);
        std::string page =
            test::readFile(std::filesystem::path(DRAWFOLLOW_TEST_DATA_DIR) / "update" / "chart_2013_gbk_meta.html");
        const size_t rowStart = page.rfind("<tr>", page.find("<td>2013152</td>"));
        page.erase(rowStart, page.find("</tr>", rowStart) + 5 - rowStart);
        server.serveBytes(2013, QByteArray::fromStdString(page));
        s.seed(draws2013Through150());
        s.presetSetting(QStringLiteral("UpdateHost"), server.host());
        QVERIFY(s.start());
        runUpdate(s);

        const auto& report = s.dialogs().messages().last();
        QCOMPARE(report.kind, MessageKind::Warning);
        QVERIFY2(report.text.contains(QStringLiteral("缺少第 2013152 期")), qPrintable(report.text));
        QVERIFY2(report.text.contains(server.host() + QString::fromStdString(chartPagePath(2013))),
                 qPrintable(report.text));
        QCOMPARE(server.requests(), targets({2013}));
        QCOMPARE(gridRows(s), 151);
        QCOMPARE(gridIssue(s, -1), QStringLiteral("2013151"));
    }

    void addressMenuShowsAndStoresTheAddress() {
        WindowSession s;
        QVERIFY(s.start());
        FIND_ENABLED(QAction, item, s, "mnuUpdateHost");
        QCOMPARE(item->text(), QStringLiteral("在线更新网址设置(&U)"));
        const QList<QAction*> setup = s.find<QMenu>(QStringLiteral("mnuSetup"))->actions();
        QCOMPARE(setup.indexOf(item), setup.indexOf(s.find<QAction>(QStringLiteral("mnuSetDay"))) + 1);

        // An address the update could not use is refused and asked for again.
        s.dialogs().setNextInput(QStringLiteral("ftp://chart.example.com"));
        s.dialogs().setNextInput(QStringLiteral("  https://chart.example.com/  "));
        item->trigger();
        QCOMPARE(s.dialogs().messages().size(), 3);
        QCOMPARE(s.dialogs().messages().at(1).kind, MessageKind::Warning);
        QCOMPARE(s.storedText(QStringLiteral("UpdateHost")), QStringLiteral("https://chart.example.com/"));

        // The box shows the address stored; Cancel keeps it; the next start reads it.
        item->trigger();
        QCOMPARE(s.dialogs().messages().last().initial, QStringLiteral("https://chart.example.com/"));
        QVERIFY(s.restart());
        QCOMPARE(s.history().settings().updateHost(), QStringLiteral("https://chart.example.com/"));
    }

    void noDatabaseNoUpdate() {
        WindowSession s;
        writeFile(s.databaseFile(), "not a database\n");
        QVERIFY(s.start());
        QVERIFY(!s.find<QPushButton>(QStringLiteral("Command21"))->isEnabled());
    }
};

QTEST_MAIN(OnlineUpdateWindowTest)
#include "online_update_window_test.moc"

#include "io/update_session.h"

#include "io/page_charset.h"
#include "io/safety_copy.h"
#include "io/update_page.h"

#include <SQLiteCpp/Transaction.h>

namespace drawfollow {

namespace {

std::optional<int> storedIssue(HistoryDb& db, const char* sql) {
    const SQLite::Column value = db.connection().execAndGet(sql);
    if (value.isNull())
        return std::nullopt;
    return value.getInt();
}

}  // namespace

UpdateSession::UpdateSession(HistoryDb& db, DerivationSettings settings, UpdateRequest request)
    : db_(db), settings_(std::move(settings)), request_(std::move(request)) {}

bool UpdateSession::prepare() {
    if (const ChartUrl url = chartPageUrl(request_.host, request_.currentYear); !url.problem.empty()) {
        summary_.setupProblem = url.problem;
        return false;
    }
    try {
        plan_ = planUpdate(storedIssue(db_, "SELECT min(SQQH) FROM lishi"),
                           storedIssue(db_, "SELECT max(SQQH) FROM lishi"), request_.currentYear, request_.keepYears);
        if (plan_.dropBeforeYear)
            dropYearsNotKept(*plan_.dropBeforeYear);
        newestIssue_ = storedIssue(db_, "SELECT max(SQQH) FROM lishi");
        const SQLite::Column greatest = db_.connection().execAndGet("SELECT max(strQQH) FROM lishi");
        greatestIssueText_ = greatest.isNull() ? std::string() : greatest.getString();
    } catch (const StoreError& e) {
        summary_.setupProblem = e.what();
        return false;
    } catch (const std::exception& e) {
        summary_.setupProblem = std::string("读取或修改历史数据库时出错：") + e.what();
        return false;
    }
    summary_.newestIssue = newestIssue_;
    if (plan_.firstYear <= plan_.lastYear)
        year_ = plan_.firstYear;
    return true;
}

void UpdateSession::dropYearsNotKept(int firstKeptYear) {
    // The copy comes first: without it nothing is deleted (writeSafetyCopy throws).
    summary_.safetyCopy = writeSafetyCopy(db_, CopyCause::Update);
    SQLite::Transaction tx(db_.connection());
    SQLite::Statement drop(db_.connection(), "DELETE FROM lishi WHERE SQQH < ?");
    drop.bind(1, firstKeptYear * 1000);
    summary_.dropped = static_cast<size_t>(drop.exec());
    tx.commit();
    summary_.droppedBeforeYear = firstKeptYear;
}

std::optional<int> UpdateSession::currentYear() const {
    return year_;
}

std::string UpdateSession::currentUrl() const {
    return year_ ? chartPageUrl(request_.host, *year_).url : std::string();
}

size_t UpdateSession::acceptPage(std::string_view bytes, std::string_view contentType) {
    if (!year_)
        return 0;
    const int year = *year_;
    YearPageScan scan;
    try {
        scan = scanYearPage(codePoints(chartPageText(bytes, contentType)), year, firstSequence(newestIssue_, year),
                            greatestIssueText_);
    } catch (const PageError& e) {
        failCurrentYear(e.what());
        return 0;
    }
    if (!scan.listsYear && year < request_.currentYear) {
        failCurrentYear("网页中没有 " + std::to_string(year) + " 年的开奖号码，网页内容无法识别。");
        return 0;
    }
    summary_.skippedIssues.insert(summary_.skippedIssues.end(), scan.skippedIssues.begin(), scan.skippedIssues.end());
    if (!scan.draws.empty()) {
        try {
            db_.appendBatch(scan.draws, settings_);
        } catch (const std::exception& e) {
            failCurrentYear(std::string("保存这一年的历史号码时出错，这一年的号码都没有保存：") + e.what());
            return 0;
        }
        newestIssue_ = scan.draws.back().issue;
        greatestIssueText_ = issueText(*newestIssue_);
        summary_.added += scan.draws.size();
        summary_.newestIssue = newestIssue_;
    }
    if (!scan.problem.empty()) {
        failCurrentYear(scan.problem + "。");
        return scan.draws.size();
    }
    summary_.yearsRead.push_back(year);
    year_ = year < plan_.lastYear ? std::optional<int>(year + 1) : std::nullopt;
    return scan.draws.size();
}

void UpdateSession::failCurrentYear(std::string reason) {
    if (!year_)
        return;
    summary_.failure = YearFailure{*year_, std::move(reason)};
    stop();
}

void UpdateSession::cancel() {
    if (!year_)
        return;
    summary_.cancelled = true;
    stop();
}

void UpdateSession::stop() {
    const int from = summary_.failure ? *year_ + 1 : *year_;
    for (int y = from; y <= plan_.lastYear; ++y)
        summary_.yearsNotRead.push_back(y);
    year_.reset();
}

}  // namespace drawfollow

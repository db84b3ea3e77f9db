#include "io/update_session.h"

#include "io/page_charset.h"
#include "io/safety_copy.h"
#include "io/update_page.h"
#include "io/utf8_text.h"
#include "store/draw.h"

#include <utility>

namespace drawfollow {

UpdateSession::UpdateSession(HistoryDb& db, DerivationSettings settings, UpdateRequest request)
    : db_(db), settings_(settings), request_(std::move(request)) {}

bool UpdateSession::prepare() {
    if (const ChartUrl url = chartPageUrl(request_.host, request_.currentYear); !url.problem.empty()) {
        summary_.setupProblem = url.problem;
        return false;
    }
    std::optional<DrawRow> newest;
    try {
        plan_ = planUpdate(db_, request_.currentYear, request_.keepYears);
        newest = db_.newest();
    } catch (const StoreError& e) {
        summary_.setupProblem = e.what();
        return false;
    } catch (const std::exception& e) {
        summary_.setupProblem = "读取历史数据库时出错：" + failureText(e);
        return false;
    }
    if (newest)
        newestIssue_ = newest->issue;
    summary_.newestIssue = newestIssue_;
    summary_.dropBeforeYear = plan_.dropBeforeYear;
    summary_.plannedDrop = plan_.dropCount;
    if (plan_.firstYear <= plan_.lastYear)
        year_ = plan_.firstYear;
    else
        storeComplete();  // no page to read: the update is complete as it stands
    return true;
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
        scan = scanYearPage(codePoints(chartPageText(bytes, contentType)),
                            YearPageContext{year, newestIssue_, year == request_.currentYear});
    } catch (const PageError& e) {
        failCurrentYear(e.what());
        return 0;
    }
    if (scan.listing == YearListing::NotAChart) {
        failCurrentYear("网页中没有开奖走势表（既没有“期号”表头，也没有 " + std::to_string(year) +
                        " 年的开奖号码），网页内容无法识别。");
        return 0;
    }
    // Only the current year may show no draws yet, and only while the history holds none of it.
    const bool yearBegun = year < request_.currentYear || (newestIssue_ && issueYear(*newestIssue_) >= year);
    if (scan.listing == YearListing::NoDrawsYet && yearBegun) {
        failCurrentYear("网页中没有 " + std::to_string(year) + " 年的开奖号码，网页内容无法识别。");
        return 0;
    }
    read_.insert(read_.end(), scan.draws.begin(), scan.draws.end());
    summary_.read = read_.size();
    if (!scan.draws.empty())
        newestIssue_ = scan.draws.back().issue;
    if (!scan.problem.empty()) {
        failCurrentYear(scan.problem + "。");
        return scan.draws.size();
    }
    summary_.yearsRead.push_back(year);
    if (year < plan_.lastYear) {
        year_ = year + 1;
    } else {
        year_.reset();
        storeComplete();
    }
    return scan.draws.size();
}

void UpdateSession::failCurrentYear(std::string reason) {
    if (!year_)
        return;
    summary_.failure = YearFailure{*year_, std::move(reason), currentUrl()};
    endEarly();
}

void UpdateSession::cancel() {
    if (!year_)
        return;
    summary_.cancelled = true;
    endEarly();
}

void UpdateSession::endEarly() {
    const int from = summary_.failure ? *year_ + 1 : *year_;
    for (int y = from; y <= plan_.lastYear; ++y)
        summary_.yearsNotRead.push_back(y);
    year_.reset();
    storePartial();
}

void UpdateSession::storeComplete() {
    store(plan_.dropBeforeYear.has_value());
}

void UpdateSession::storePartial() {
    if (read_.empty())
        return;
    if (!plan_.pagesContinueHistory) {
        summary_.notStoredReason = "现有的历史号码都在 " + std::to_string(*plan_.dropBeforeYear) +
                                   " 年以前，读取到的号码只有在更新读完全部网页、删除这些旧年份之后才能接上。";
        return;
    }
    store(false);
}

void UpdateSession::store(bool dropOldYears) {
    UpdateWrite write{read_, dropOldYears ? plan_.dropBeforeYear : std::nullopt, settings_};
    if (deferWrite_)
        pendingWrite_ = std::move(write);
    else
        recordWrite(writeUpdate(db_, write));
}

std::optional<UpdateWrite> UpdateSession::takePendingWrite() {
    return std::exchange(pendingWrite_, std::nullopt);
}

void UpdateSession::recordWrite(const UpdateWritten& written) {
    if (!written.stored) {
        summary_.notStoredReason = written.notStoredReason;
        return;
    }
    summary_.safetyCopy = written.safetyCopy;
    summary_.dropped = written.dropped;
    summary_.added = read_.size();
    if (!read_.empty())
        summary_.newestIssue = read_.back().issue;
}

UpdateWritten writeUpdate(HistoryDb& db, const UpdateWrite& write) {
    UpdateWritten written;
    try {
        // The copy is written under the write lock, so that it holds the history the drop
        // changes; without it nothing is dropped.
        WriteTransaction tx(db);
        if (write.dropBeforeYear) {
            try {
                written.safetyCopy = writeSafetyCopy(db, CopyCause::Update);
            } catch (const StoreError& e) {
                written.notStoredReason = e.what();
                return written;
            }
            written.dropped = db.dropBeforeAndAppend(*write.dropBeforeYear * 1000, write.draws, write.settings);
        } else if (!write.draws.empty()) {
            db.appendBatch(write.draws, write.settings);
        }
        tx.commit();
    } catch (const std::exception& e) {
        return {false, 0, std::nullopt, "保存时出错，历史号码未作任何改动：" + failureText(e)};
    }
    written.stored = true;
    return written;
}

}  // namespace drawfollow

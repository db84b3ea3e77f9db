// One online update, step by step, without the network: whoever fetches the pages (the
// window's downloader, a test) asks for the page of currentYear(), hands its bytes to
// acceptPage(), and goes on until currentYear() is empty.
#pragma once

#include "io/update_plan.h"
#include "io/update_summary.h"
#include "store/history_db.h"

#include <optional>
#include <string>
#include <string_view>

namespace drawfollow {

struct UpdateRequest {
    std::string host;   // the UpdateHost setting
    int keepYears = 6;  // the IniSerchDay setting
    int currentYear = 0;
};

class UpdateSession {
public:
    UpdateSession(HistoryDb& db, DerivationSettings settings, UpdateRequest request);

    // Checks the address and the setting, drops the draws of the years not kept (after a
    // safety copy) and works out the pages to ask for. False when the update cannot go
    // on; summary() says why and nothing was changed.
    bool prepare();

    // Every year whose page the update asks for, once prepared.
    std::vector<int> plannedYears() const { return plan_.years(); }
    // The year whose page is to be asked for now; none once the update has ended.
    std::optional<int> currentYear() const;
    // The address of that page.
    std::string currentUrl() const;

    // Reads the current year's page, stores its new draws in one transaction and moves on
    // to the next year. Returns how many draws were added. A page that cannot be read
    // ends the update, keeping what earlier years and this page's readable draws added.
    size_t acceptPage(std::string_view bytes, std::string_view contentType);

    // The current year's page could not be fetched: the update ends here.
    void failCurrentYear(std::string reason);
    // The user stopped the update: what was stored stays.
    void cancel();

    const UpdateSummary& summary() const { return summary_; }

private:
    void dropYearsNotKept(int firstKeptYear);
    void stop();

    HistoryDb& db_;
    DerivationSettings settings_;
    UpdateRequest request_;
    UpdatePlan plan_;
    std::optional<int> year_;
    // Read once: every page after the first continues from what this update stored.
    std::optional<int> newestIssue_;
    std::string greatestIssueText_;
    UpdateSummary summary_;
};

}  // namespace drawfollow

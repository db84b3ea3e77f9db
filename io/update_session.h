// One online update, step by step, without the network: whoever fetches the pages (the
// window's downloader, a test) asks for the page of currentYear(), hands its bytes to
// acceptPage(), and goes on until currentYear() is empty.
//
// The pages are read first; the history changes once, at the end. An update that read
// every page it needed drops the years no longer kept (after a safety copy) and appends
// the draws read, in one transaction, exactly as dropping first and appending after
// would. One that ends early (a page that fails, a cancel) drops nothing and appends the
// draws read so far, when they continue the history as it stands.
#pragma once

#include "io/update_plan.h"
#include "io/update_summary.h"
#include "store/history_db.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// The one change of the history an update ends with: the draws read, appended after the
// history, and for a complete update the years it drops first.
struct UpdateWrite {
    std::vector<DrawInput> draws;
    std::optional<int> dropBeforeYear;  // none: nothing is dropped
    DerivationSettings settings;
};

// What the write did.
struct UpdateWritten {
    bool stored = false;
    size_t dropped = 0;
    std::optional<std::filesystem::path> safetyCopy;  // written before a drop
    std::string notStoredReason;                      // why nothing was changed, when nothing was
};

// Drops (after a safety copy) and appends in one transaction; a failure changes nothing.
UpdateWritten writeUpdate(HistoryDb& db, const UpdateWrite& write);

struct UpdateRequest {
    std::string host;   // the UpdateHost setting
    int keepYears = 6;  // the IniSerchDay setting
    int currentYear = 0;
};

class UpdateSession {
public:
    UpdateSession(HistoryDb& db, DerivationSettings settings, UpdateRequest request);

    // Checks the address and the setting and works out the pages to ask for and what a
    // complete update drops; changes nothing. False when the update cannot go on:
    // summary() says why. With no page to ask for, the update ends here.
    bool prepare();

    // Every year whose page the update asks for, once prepared.
    std::vector<int> plannedYears() const { return plan_.years(); }
    // The year whose page is to be asked for now; none once the update has ended.
    std::optional<int> currentYear() const;
    // The address of that page.
    std::string currentUrl() const;

    // Reads the current year's new draws from its page and moves on to the next year;
    // after the last one the update ends and stores what it read. Returns how many new
    // draws the page held. A page that cannot be read ends the update early.
    size_t acceptPage(std::string_view bytes, std::string_view contentType);

    // The current year's page could not be fetched: the update ends early.
    void failCurrentYear(std::string reason);
    // The user stopped the update: it ends early.
    void cancel();

    // A window that writes on a worker thread asks for this before prepare(): the update
    // then ends with its write pending instead of done, and the caller writes it over a
    // connection of its own (writeUpdate) and hands back what that did.
    void deferWrite() { deferWrite_ = true; }
    std::optional<UpdateWrite> takePendingWrite();
    void recordWrite(const UpdateWritten& written);

    const UpdateSummary& summary() const { return summary_; }

private:
    void endEarly();
    void storeComplete();
    void storePartial();
    void store(bool dropOldYears);

    HistoryDb& db_;
    DerivationSettings settings_;
    UpdateRequest request_;
    UpdatePlan plan_;
    std::optional<int> year_;
    // Where the next page's reading continues: after the newest draw stored or read.
    std::optional<int> newestIssue_;
    std::vector<DrawInput> read_;
    UpdateSummary summary_;
    bool deferWrite_ = false;
    std::optional<UpdateWrite> pendingWrite_;
};

}  // namespace drawfollow

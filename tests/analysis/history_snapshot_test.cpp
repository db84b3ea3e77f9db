// One history per answer: the snapshot every search is answered from is read whole before or
// after another program's change, and what a search leaves behind is only written into the
// history it was answered from, and only where the history can be written.
#include "analysis/history_snapshot.h"
#include "analysis/search_answer.h"
#include "analysis/search_fields.h"

#include "search_fixture.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <optional>
#include <string_view>

namespace drawfollow {
namespace {

using test::SearchHistory;

SearchInputs zodiacSearch(const SearchHistory& h) {
    SearchInputs in = h.inputs();
    in.searchKind = Kind::Zodiac;
    in.resultKind = Kind::Zodiac;
    for (int p = 0; p < kPositions; ++p)
        in.values->at(p) = h.rows()[30].own[index(Kind::Zodiac)][p];
    test::tick(in, {1, 2});
    return in;
}

// Every draw's values are those the snapshot's own derivation record gives its numbers.
bool fitsItsRecord(const HistorySnapshot& history) {
    if (!history.derivation())
        return false;
    for (const StoredDraw& d : history.draws()) {
        const Numbers numbers = d.own[index(Kind::Number)];
        if (attributesOf(numbers, zodiacYearOfIssue(d.issue), history.derivation()->codes,
                         history.derivation()->segmentOffset) != d.own)
            return false;
    }
    return true;
}

class OneHistory : public ::testing::Test {
protected:
    SearchHistory h{test::seededDraws(80, 5, 2020101), test::settingsFor(2020)};
    std::filesystem::path file() { return h.db().path(); }
};

// Lets another program's commit go when a connection starts its second query, and waits a
// while for that commit: between two reads of one transaction it cannot happen.
class CommitBetweenReads {
public:
    CommitBetweenReads(HistoryDb& reader, std::function<void()> commit) : commit_(std::move(commit)) {
        handle_ = reader.connection().getHandle();
        sqlite3_trace_v2(handle_, SQLITE_TRACE_STMT, &CommitBetweenReads::onStatement, this);
    }
    ~CommitBetweenReads() {
        sqlite3_trace_v2(handle_, 0, nullptr, nullptr);
        if (committed_.valid())
            committed_.get();
    }
    CommitBetweenReads(const CommitBetweenReads&) = delete;
    CommitBetweenReads& operator=(const CommitBetweenReads&) = delete;

    bool released() const { return committed_.valid(); }

private:
    static int onStatement(unsigned, void* self, void*, void* sql) {
        auto& me = *static_cast<CommitBetweenReads*>(self);
        if (std::string_view(static_cast<const char*>(sql)).starts_with("SELECT") && ++me.queries_ == 2) {
            me.committed_ = std::async(std::launch::async, me.commit_);
            me.committed_.wait_for(std::chrono::milliseconds(500));
        }
        return 0;
    }

    sqlite3* handle_;
    std::function<void()> commit_;
    int queries_ = 0;
    std::future<void> committed_;
};

// Another program holds the write lock with every row derived again, and commits while the
// snapshot is being read: the snapshot holds the history before the change or after it,
// never the rows of one with the record of the other.
TEST_F(OneHistory, ASnapshotReadWhileARederivationCommitsFitsOneHistory) {
    HistoryDb other(file());
    WriteTransaction change(other);
    other.rederiveAll(test::settingsFor(2020, 0, 0));

    std::optional<HistorySnapshot> during;
    {
        const CommitBetweenReads between(h.db(), [&change] { change.commit(); });
        during.emplace(HistorySnapshot::read(h.db()));
        ASSERT_TRUE(between.released());
    }
    EXPECT_TRUE(fitsItsRecord(*during));
    const HistorySnapshot after = HistorySnapshot::read(h.db());
    EXPECT_TRUE(fitsItsRecord(after));
    EXPECT_EQ(after.derivation()->segmentOffset, 0);  // the change did happen
}

TEST_F(OneHistory, FieldsAreNotWrittenIntoAHistoryChangedSinceTheAnswer) {
    const SearchInputs in = zodiacSearch(h);
    ASSERT_TRUE(runFollowSearch(h.db(), in).ran);
    const auto before = test::tableDump(h.db());

    const HistorySnapshot history = HistorySnapshot::read(h.db());
    SearchInputs other = in;
    other.gap = 4;
    other.previousIssue = false;
    const SearchAnswer answer = answerSearch(history, other, false);
    {
        HistoryDb elsewhere(file());
        elsewhere.append(test::draw(h.rows().back().issue + 1, {1, 2, 3, 4, 5, 6, 7, 8}), h.settings());
    }
    const auto appended = test::tableDump(h.db());
    EXPECT_EQ(keepSearchFields(h.db(), history, other, *answer.marking, answer.storedTally), kFieldsNotStoredChanged);
    EXPECT_EQ(test::firstDifference(test::tableDump(h.db()), appended), "");
    EXPECT_NE(test::firstDifference(appended, before), "");
}

TEST_F(OneHistory, AReadOnlyHistoryIsAnsweredAndSaysItsFieldsWereNotStored) {
    SearchInputs in = zodiacSearch(h);
    const SearchResult writable = runFollowSearch(h.db(), in);
    ASSERT_TRUE(writable.ran);
    in.previousIssue = false;  // fields that differ from the stored ones
    in.gap = 3;
    const SearchResult expected = runFollowSearch(h.db(), in);
    in.gap = 2;
    ASSERT_TRUE(runFollowSearch(h.db(), in).ran);
    const auto before = test::tableDump(h.db());

    in.gap = 3;
    h.db().connection().exec("PRAGMA query_only = 1");
    const SearchResult readOnly = runFollowSearch(h.db(), in);
    ASSERT_TRUE(readOnly.ran) << readOnly.message;
    EXPECT_EQ(readOnly.hits, expected.hits);
    EXPECT_EQ(readOnly.detail, expected.detail);
    EXPECT_EQ(readOnly.tally, expected.tally);
    EXPECT_NE(readOnly.message.find(kFieldsNotStoredReadOnly), std::string::npos) << readOnly.message;
    EXPECT_EQ(test::firstDifference(test::tableDump(h.db()), before), "");
}

}  // namespace
}  // namespace drawfollow

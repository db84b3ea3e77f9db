// The draws kept between questions: never once the history may have changed, by this
// connection or by another program, nor holding a change that was rolled back.
#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

class SharedDrawValuesTest : public ::testing::Test {
protected:
    SharedDrawValuesTest() { db.replaceAll(test::seededDraws(30, 3, 2013001), test::settingsFor(2013)); }

    // What a fresh read of the file gives, by another connection.
    std::vector<StoredDraw> freshlyRead() {
        HistoryDb other(dir / HistoryDb::kFileName);
        return other.drawValues();
    }

    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
};

TEST_F(SharedDrawValuesTest, AnUnchangedHistoryIsReadOnceAndMatchesTheFile) {
    const auto first = db.sharedDrawValues();
    EXPECT_EQ(first->draws, freshlyRead());
    EXPECT_EQ(first->issues, db.issues());
    EXPECT_EQ(db.sharedDrawValues(), first);
    // A search's own writes touch neither the numbers nor the derivation.
    const std::vector<TallyRow> tally = {{3, 4}};
    db.storeTally(tally);
    EXPECT_EQ(db.sharedDrawValues()->draws, freshlyRead());
}

TEST_F(SharedDrawValuesTest, ChangesOfThisConnectionAreSeen) {
    const auto draws = test::seededDraws(31, 3, 2013001);
    const auto settings = test::settingsFor(2013);
    db.sharedDrawValues();
    db.append(draws.back(), settings);
    EXPECT_EQ(db.sharedDrawValues()->draws, freshlyRead());
    db.deleteNewest();
    EXPECT_EQ(db.sharedDrawValues()->draws, freshlyRead());
    // Plain SQL on the numbers, through the triggers.
    db.execute("UPDATE Lishi SET L1A = 30 - L1A WHERE SQQH = 2013005");
    EXPECT_EQ(db.sharedDrawValues()->draws, freshlyRead());
    // Another derivation changes every zodiac value, not one number.
    db.rederiveAll(test::settingsFor(2013, 0));
    const auto rederived = db.sharedDrawValues();
    EXPECT_EQ(rederived->draws, freshlyRead());
    db.deleteAll();
    EXPECT_TRUE(db.sharedDrawValues()->draws.empty());
}

TEST_F(SharedDrawValuesTest, ACommitOfAnotherConnectionIsSeen) {
    const auto before = db.sharedDrawValues();
    {
        HistoryDb other(dir / HistoryDb::kFileName);
        other.execute("DELETE FROM Lishi WHERE SQQH = 2013010");
    }
    const auto after = db.sharedDrawValues();
    EXPECT_EQ(after->draws.size(), before->draws.size() - 1);
    EXPECT_EQ(after->draws, freshlyRead());
}

TEST_F(SharedDrawValuesTest, DrawsReadInsideAChangeThatIsRolledBackAreNotKept) {
    const auto before = db.sharedDrawValues();
    {
        WriteTransaction change(db);
        db.execute("DELETE FROM Lishi WHERE SQQH > 2013020");
        EXPECT_EQ(db.sharedDrawValues()->draws.size(), 20u);
    }  // rolled back
    EXPECT_EQ(db.sharedDrawValues()->draws, before->draws);
}

}  // namespace
}  // namespace drawfollow

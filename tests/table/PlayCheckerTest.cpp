#include <gmock/gmock.h>

#include <QTest>

#include "PlayChecker.h"
#include "ReviewHands.h"

using namespace spades;
using namespace spades::testing;

namespace {

TPlayReview Costing(int card, int trick, int before, int after)
{
    TPlayReview play;
    play.Play = {South, static_cast<uint8_t>(card)};
    play.Trick = trick;
    play.Before = before;
    play.After = after;
    return play;
}

TEST(PlayChecker, NotesSayWhatCostAndWhatTheExpertPlays)
{
    TPlayCheck check;
    check.Card = 17;
    check.ExpectedLoss = 0.75;
    check.ExpertCard = 26;
    EXPECT_EQ(TPlayChecker::CardNote(check),
              "Your 4 of Hearts may have cost a trick; the Expert would have played the King of Hearts.");
    check.ExpectedLoss = 0.25;
    EXPECT_EQ(TPlayChecker::CardNote(check), "") << "under half a trick is no note";
    check.ExpectedLoss = 1;
    check.ExpertCard = 0;
    EXPECT_EQ(TPlayChecker::CardNote(check), "") << "the Expert plays it too";

    struct TCase {
        std::vector<TPlayReview> Plays;
        const char* Note;
    };
    const TCase cases[] = {
        {{Costing(17, 2, 4, 4)}, ""},
        {{Costing(17, 2, 4, 3)}, "With every card open, the 4 of Hearts in trick 2 cost a trick."},
        {{Costing(17, 2, 4, 3), Costing(26, 5, 3, 1)},
         "With every card open, the 4 of Hearts in trick 2, the King of Hearts in trick 5 cost 3 tricks."},
        {{Costing(1, 1, 4, 3), Costing(2, 2, 4, 3), Costing(3, 3, 4, 3), Costing(4, 4, 4, 3)},
         "With every card open, the Ace of Spades in trick 1, the 2 of Spades in trick 2, 2 more cost 4 tricks."},
    };
    for (const TCase& c : cases) {
        TReview review;
        review.Plays = c.Plays;
        EXPECT_EQ(TPlayChecker::HandNote(review), c.Note);
    }
}

TEST(PlayChecker, NotesAHandsCostlyPlayAndDropsWorkOfAHandGone)
{
    // North, a person, ducks the King of diamonds under its Ace and takes nothing.
    TReviewHand hand = DuckedEnding();
    hand.Kinds[North] = TSeatKind::Human;

    QStringList notes;
    TPlayChecker checker([&](const QString& note) { notes << note; });
    checker.HandEnded(hand);
    QTRY_COMPARE_WITH_TIMEOUT(notes.size(), 1, 20000);
    EXPECT_EQ(notes[0], "With every card open, the 2 of Diamonds in trick 1 cost 2 tricks.");

    checker.HandEnded(hand);
    checker.Reset();
    QTest::qWait(300);
    EXPECT_EQ(notes.size(), 1) << "a note for a hand the table has left is dropped";
}

}  // namespace

// "Check my plays" at the table: a person's card, as that seat saw the game just
// before it, and the hand once over go to the checker beside the window. Its
// notes go on the table's notice line and to the screen reader; play never waits.
#include "SpadesU.h"

#include "Defaults.h"
#include "ExpertView.h"
#include "HandReview.h"
#include "PlayChecker.h"
#include "PlayComfort.h"
#include "TableAccessibility.h"
#include "TableHistory.h"
#include "TableScene.h"

namespace spades {

bool TfrmMain::ChecksPlays() const
{
    return FDefaults && FDefaults->CheckPlays() && !FHistory->Replaying() && !FClosed;
}

void TfrmMain::CheckCard(int seat, int card)
{
    if (!ChecksPlays() || !IsHuman(seat))
        return;
    // The seat's own view holds no other seat's unplayed cards.
    FChecker->CardPlayed(ViewOf(FGame, seat), card);
}

void TfrmMain::CheckHand()
{
    if (!ChecksPlays())
        return;
    // The hand as dealt and played; the bids, seats and scores as any seat saw them.
    const TExpertView seen = ViewOf(FGame, South);
    TReviewHand hand;
    std::array<int, 52> deal{};
    for (size_t i = 0; i < deal.size(); ++i)
        deal[i] = FGame.Deck.FDeck[i + 1];
    hand.Dealt = DealtHands(deal);
    hand.FirstSeat = seen.Order[1];
    hand.Bids = seen.Bid;
    hand.Plays.assign(seen.Plays.begin(), seen.Plays.begin() + seen.PlayCount);
    hand.Kinds = seen.Kind;
    hand.ScoresBefore = seen.Score;
    hand.BagsBefore = seen.TotalBags;
    hand.WinScore = seen.WinScore;
    FChecker->HandEnded(hand);
}

void TfrmMain::ShowCheckNote(const QString& note)
{
    if (!ChecksPlays())
        return;
    FScene->SetNotice(note);
    FCheckNoteShown = true;
    FComfort->Accessibility().Announce(note);
}

void TfrmMain::ResetChecker()
{
    FChecker->Reset();
    ClearRefusal();
}

}  // namespace spades

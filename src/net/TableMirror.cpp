#include "TableMirror.h"

#include <algorithm>

#include "ExpertSampler.h"
#include "RuleText.h"
#include "Rules.h"

namespace spades::net {

namespace {
template <class... F>
struct TOverload : F... {
    using F::operator()...;
};
template <class... F>
TOverload(F...) -> TOverload<F...>;
// No seat has more tricks, nor all seats together, than tricks were played.
bool TricksFit(const std::array<uint8_t, 4>& tricks, int played, std::string& why)
{
    int total = 0;
    for (size_t i = 0; i < 4; ++i) {
        total += tricks[i];
        if (tricks[i] > played) {
            why = "seat " + std::to_string(i + 1) + " is given " + std::to_string(tricks[i]) + " tricks of " +
                  std::to_string(played) + " played";
            return false;
        }
    }
    if (total > played) {
        why = std::to_string(total) + " tricks are given of " + std::to_string(played) + " played";
        return false;
    }
    return true;
}
}  // namespace

TTableMirror::TTableMirror()
{
    for (int seat = North; seat <= West; ++seat) {
        FTable.Players[static_cast<size_t>(seat)] = std::make_unique<TPlayer>(FHost, FTable);
        At(seat).SetSeat(seat);
    }
    At(North).SetName("North");
    At(East).SetName("East");
    At(South).SetName("South");
    At(West).SetName("West");
}

void TTableMirror::SetOwnHand(const THandSlots& handSlots)
{
    TPlayer& own = At(FSeat);
    own.FCardCount = 0;
    own.FSuitCount.fill(0);
    for (size_t slot = 1; slot <= 13; ++slot) {
        const uint8_t card = handSlots[slot - 1];
        own.FHand[slot] = card == NoSlotCard ? NoCard : card;
        if (card != NoSlotCard) {
            ++own.FCardCount;
            ++own.FSuitCount[static_cast<size_t>(CardSuit(card))];
        }
    }
}

bool TTableMirror::Hand(const THandMsg& m, std::string& why)
{
    if (FSeat == 0) {
        why = "a hand before the welcome";
        return false;
    }
    for (size_t slot = 0; slot < 13; ++slot) {
        if (m.Slots[slot] == NoSlotCard) {
            why = "a new hand of fewer than 13 cards";
            return false;
        }
    }
    FHandNumber = m.HandNumber;
    FTable.SpadesBroken = false;
    FTable.NilInPlay = false;
    FTable.CardsPlayed.fill(false);
    for (int place = 1; place <= 4; ++place)
        FTable.Place(place).Clear();
    for (int seat = North; seat <= West; ++seat) {
        TPlayer& p = At(seat);
        p.FBid = p.FTricks = p.FBags = 0;
        p.FCardCount = 13;
        p.FHand.fill(0);
        p.FSuitCount.fill(0);
    }
    FBidKnown.fill(false);
    FPending.reset();
    FTurnSeat = 0;
    FCardsPlayed = 0;
    SetOwnHand(m.Slots);
    FHistory.NewHand(m.FirstSeat);
    return true;
}

bool TTableMirror::Card(const TCardPlayedMsg& m, std::string& why)
{
    if (FSeat == 0 || m.Place != FTable.FirstEmptyPlace() || FTable.CardsPlayed[m.Card]) {
        why = "a card out of order or played twice";
        return false;
    }
    if (m.Seat != FSeat && std::find(At(FSeat).FHand.begin() + 1, At(FSeat).FHand.end(), m.Card) != At(FSeat).FHand.end()) {
        why = "seat " + std::to_string(m.Seat) + " laid a card this table holds";
        return false;
    }
    TPlayStack& place = FTable.Place(m.Place);
    place.SetSeat(m.Seat);
    place.SetValue(m.Card);
    FTable.CardsPlayed[m.Card] = true;
    ++FCardsPlayed;
    FHistory.Laid(m.Seat, m.Card);
    if (m.Seat == FSeat) {
        int slot = 0;
        for (int s = 1; s <= 13; ++s)
            if (At(FSeat).FHand[static_cast<size_t>(s)] == m.Card)
                slot = s;
        if (slot == 0) {
            why = "my seat played a card it does not hold";
            return false;
        }
        At(FSeat).PlayCard(TCardName(FSeat, slot));
        FPending.reset();
    } else {
        TPlayer& p = At(m.Seat);
        p.FCardCount = std::max(0, p.FCardCount - 1);
        if (CardSuit(m.Card) == Spades)
            FTable.SpadesBroken = true;
    }
    FTurnSeat = 0;
    return true;
}

bool TTableMirror::Sync(const TSyncMsg& m, std::string& why)
{
    if (FSeat == 0) {
        why = "a table before the welcome";
        return false;
    }
    int laid = 0;
    for (size_t card = 1; card <= 52; ++card)
        laid += m.CardsPlayed[card];
    if (!TricksFit(m.Tricks, laid / 4, why))
        return false;
    FHandNumber = m.HandNumber;
    FPending.reset();
    FTurnSeat = 0;
    FHistory.Forget();  // until the host tells the order of the plays
    const bool dealt = m.Phase == TPhase::Bidding || m.Phase == TPhase::Playing;
    SetOwnHand(m.Slots);
    FTable.NilInPlay = false;
    for (int seat = North; seat <= West; ++seat) {
        const auto i = static_cast<size_t>(seat - 1);
        TPlayer& p = At(seat);
        FBidKnown[static_cast<size_t>(seat)] = m.Bids[i] != NoBid;
        p.FBid = m.Bids[i] == NoBid ? 0 : m.Bids[i];
        p.FTricks = m.Tricks[i];
        p.FBags = p.FBid > 0 && p.FTricks > p.FBid ? p.FTricks - p.FBid : 0;
        p.FScore = m.Scores[i];
        p.FTotalBags = m.TotalBags[i];
        if (dealt && m.Bids[i] == 0 && p.FTricks == 0)
            FTable.NilInPlay = true;
    }
    FTable.SpadesBroken = m.SpadesBroken;
    FCardsPlayed = 0;
    for (size_t card = 1; card <= 52; ++card) {
        FTable.CardsPlayed[card] = m.CardsPlayed[card];
        FCardsPlayed += m.CardsPlayed[card];
    }
    int tricksDone = 0;
    for (uint8_t t : m.Tricks)
        tricksDone += t;
    for (int seat = North; seat <= West; ++seat)
        if (seat != FSeat)
            At(seat).FCardCount = dealt ? std::max(0, 13 - tricksDone) : 0;
    for (int place = 1; place <= 4; ++place) {
        TPlayStack& stack = FTable.Place(place);
        stack.Clear();
        const auto i = static_cast<size_t>(place - 1);
        if (m.PlaceSeats[i] != 0) {
            stack.SetSeat(m.PlaceSeats[i]);
            stack.SetValue(m.PlaceCards[i]);
            if (m.PlaceSeats[i] != FSeat)
                At(m.PlaceSeats[i]).FCardCount = std::max(0, At(m.PlaceSeats[i]).FCardCount - 1);
        }
    }
    return true;
}

bool TTableMirror::Restore(const THistoryMsg& m, std::string& why)
{
    // The account must tell of exactly the cards on the table, the last trick's
    // in the places they lie.
    std::array<bool, 53> laid{};
    for (const TLaidCard& play : m.Plays)
        laid[play.Card] = true;
    const int onTable = FTable.FirstEmptyPlace() - 1;
    bool fits = laid == FTable.CardsPlayed && static_cast<int>(m.Plays.size()) == FCardsPlayed &&
                static_cast<int>(m.Plays.size()) % 4 == onTable % 4;
    for (int place = 1; fits && place <= onTable; ++place) {
        const TLaidCard& play = m.Plays[m.Plays.size() - static_cast<size_t>(onTable - place + 1)];
        fits = play.Seat == FTable.Place(place).FSeat && play.Card == FTable.Place(place).FValue;
    }
    if (FSeat == 0 || !fits) {
        why = "a history of the hand that does not match the table";
        return false;
    }
    FHistory.Restore(m);
    return true;
}

bool TTableMirror::HouseRules(const TRulesMsg& m, bool rulesOpen, std::string& why)
{
    if (FSeat == 0 || !rulesOpen) {
        why = "house rules other than right after the welcome";
        return false;
    }
    TRuleSet rules = TRuleSet::WithWinScore(FRules.WinScore);
    if (const std::string problem = ParseRules(rules, m.Text); !problem.empty()) {
        why = "house rules that do not parse: " + problem;
        return false;
    }
    if (rules.WinScore != FRules.WinScore) {
        why = "house rules that change the score to win";
        return false;
    }
    FRules = rules;
    FTable.Rules = FRules.Table;
    return true;
}

std::string TTableMirror::WinnerName() const
{
    if (FWinner < North || FWinner > West)
        return {};
    return FRules.Partnership() ? SideName(SideOf(FWinner)) : Player(FWinner).FName;
}

unsigned TTableMirror::AllowedNow() const
{
    const bool partnerHasBid = FRules.Partnership() && BidKnown(PartnerOf(FSeat));
    return AllowedBids(FRules.Table, FTable, FSeat, partnerHasBid);
}

bool TTableMirror::Apply(const TMessage& message, std::string& why)
{
    const bool rulesOpen = FRulesOpen;
    FRulesOpen = false;
    return std::visit(
        TOverload{
            [&](const TWelcome& m) {
                if (FSeat != 0) {
                    why = "a second welcome, to seat " + std::to_string(m.Seat);
                    return false;
                }
                FSeat = m.Seat;
                // The table's own rules until the host's house rules say otherwise.
                FRules = TRuleSet::WithWinScore(m.WinScore);
                FTable.Rules = FRules.Table;
                FRulesOpen = true;
                return true;
            },
            [&](const TRulesMsg& m) { return HouseRules(m, rulesOpen, why); },
            [&](const TSeatsMsg& m) {
                for (int seat = North; seat <= West; ++seat) {
                    FStates[static_cast<size_t>(seat)] = m.States[static_cast<size_t>(seat - 1)];
                    At(seat).SetName(m.Names[static_cast<size_t>(seat - 1)]);
                }
                return true;
            },
            [&](const THandMsg& m) { return Hand(m, why); },
            [&](const TTurnMsg& m) {
                FTurnSeat = m.Seat;
                FTurnTimeoutMs = m.TimeoutMs;
                if (m.Seat == FSeat)
                    FPending = m;
                return true;
            },
            [&](const TBidMadeMsg& m) {
                At(m.Seat).FBid = m.Bid;
                FBidKnown[m.Seat] = true;
                if (m.Bid == 0)
                    FTable.NilInPlay = true;
                if (m.Seat == FSeat)
                    FPending.reset();
                FTurnSeat = 0;
                return true;
            },
            [&](const TCardPlayedMsg& m) { return Card(m, why); },
            [&](const TTrickWonMsg& m) {
                if (FTable.FirstEmptyPlace() != 5) {
                    why = "a trick won before four cards lay on the table";
                    return false;
                }
                if (!TricksFit(m.Tricks, FCardsPlayed / 4, why))
                    return false;
                for (int seat = North; seat <= West; ++seat) {
                    TPlayer& p = At(seat);
                    p.FTricks = m.Tricks[static_cast<size_t>(seat - 1)];
                    if (p.FBid > 0 && p.FTricks > p.FBid)
                        p.FBags = p.FTricks - p.FBid;
                }
                for (int place = 1; place <= 4; ++place)
                    FTable.Place(place).Clear();
                RecomputeNilInPlay(FTable);
                return true;
            },
            [&](const THandScoredMsg& m) {
                std::array<uint8_t, 4> tricks{};
                for (size_t i = 0; i < 4; ++i)
                    tricks[i] = m.Seats[i].Tricks;
                if (!TricksFit(tricks, 13, why))
                    return false;
                for (int seat = North; seat <= West; ++seat) {
                    const TSeatScore& s = m.Seats[static_cast<size_t>(seat - 1)];
                    TPlayer& p = At(seat);
                    p.FScore = s.Score;
                    p.FBid = s.Bid;
                    p.FTricks = s.Tricks;
                    p.FBags = s.Bags;
                    p.FTotalBags = s.TotalBags;
                }
                FWinner = m.Winner;
                return true;
            },
            [&](const TSyncMsg& m) { return Sync(m, why); },
            [&](const THistoryMsg& m) { return Restore(m, why); },
            [&](const TSeatKindsMsg& m) {
                FHistory.SetKinds(m);
                return true;
            },
            [&](const TGameOverMsg& m) {
                FWinner = m.Winner;
                FPending.reset();
                return true;
            },
            [&](const TErrorMsg&) { return true; },
            [&](const TSeatSecretMsg&) { return FSeat != 0; },
            [&](const TNoticeMsg& m) {
                if (m.Kind != TSeatNotice::TurnPlayed)
                    FAway = m.Kind == TSeatNotice::Away;
                return FSeat != 0;
            },
            [&](const TBackMsg&) {
                why = "a message only a joining table sends";
                return false;
            },
            [&](const TRefused&) { return true; },
            [&](const auto&) {
                why = "a message meant for the host";
                return false;
            }},
        message);
}

std::optional<TExpertView> TTableMirror::ExpertView() const
{
    if (FSeat == 0 || !FHistory.Whole())
        return std::nullopt;
    TExpertView view;
    view.Seat = FSeat;
    FHistory.Fill(view);
    const TPlayer& own = Player(FSeat);
    for (size_t slot = 1; slot <= 13; ++slot)
        if (own.FHand[slot] >= 1 && own.FHand[slot] <= 52)
            view.Held |= CardBit(own.FHand[slot]);
    while (view.BidCount < 4 && BidKnown(view.Order[static_cast<size_t>(view.BidCount + 1)]))
        ++view.BidCount;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayer& p = Player(seat);
        const auto i = static_cast<size_t>(seat);
        view.Bid[i] = view.HasBid(seat) ? p.FBid : 0;
        view.Tricks[i] = p.FTricks;
        view.Score[i] = p.FScore;
        view.TotalBags[i] = p.FTotalBags;
    }
    view.WinScore = FRules.WinScore;
    view.Rules = FRules;  // a Blind Nil is not told over the wire: it reads as a Nil
    if (!Coherent(view))
        return std::nullopt;
    if (FPending) {
        // The turn asked for must be the one the history says is next.
        const int nextBidder = view.BidCount < 4 ? view.Order[static_cast<size_t>(view.BidCount + 1)] : 0;
        const bool fits = FPending->Kind == TTurnKind::Bid ? view.PlayCount == 0 && nextBidder == FSeat
                                                           : view.BidCount == 4 && KnowledgeOf(view).ToPlay == FSeat;
        if (!fits)
            return std::nullopt;
    }
    // The host's Expert draws from the game's generator, which a joined table
    // never sees. Its stream comes from what it does know: the thirteen cards it
    // was dealt, the hand's number and its own seed, so a game replays alike.
    const TCardSet dealt = KnowledgeOf(view).Dealt;
    view.GameSeed = static_cast<uint32_t>(MixSeed({dealt, static_cast<uint64_t>(FHandNumber), FStreamSeed}));
    return view;
}

std::optional<TMessage> TTableMirror::AnswerWith(int value) const
{
    if (!FPending || FSeat == 0)
        return std::nullopt;
    const TTurnMsg& turn = *FPending;
    if (turn.Kind == TTurnKind::Bid) {
        const unsigned bit = value == BlindNilBid ? BlindNilBit : value >= 0 && value <= 13 ? 1u << value : 0u;
        if ((AllowedNow() & bit) == 0)
            return std::nullopt;
        return TBidMsg{turn.Turn, static_cast<uint8_t>(FSeat),
                       value == BlindNilBid ? BlindNilByte : static_cast<uint8_t>(value)};
    }
    const TPlayer& own = Player(FSeat);
    const bool held = value != NoCard && std::find(own.FHand.begin() + 1, own.FHand.end(), value) != own.FHand.end();
    if (!held || CheckPlay(FTable, own, value) != TPlayVerdict::Legal)
        return std::nullopt;
    return TPlayMsg{turn.Turn, static_cast<uint8_t>(FSeat), static_cast<uint8_t>(value)};
}

std::optional<TMessage> TTableMirror::Decide(const TSeatBrain& brain)
{
    if (!FPending || FSeat == 0 || !brain.Bid)
        return std::nullopt;
    if (brain.ViewBid && brain.ViewCard)
        if (const auto view = ExpertView())
            if (auto answer =
                    AnswerWith(FPending->Kind == TTurnKind::Bid ? brain.ViewBid(*view) : brain.ViewCard(*view)))
                return answer;
    TPlayer& own = At(FSeat);
    const TTurnMsg turn = *FPending;
    if (turn.Kind == TTurnKind::Bid) {
        const int saved = own.FBid;
        const int bid = brain.Bid(own);
        own.FBid = saved;  // the bid counts once the host announces it
        // The host holds the seat to the table's bidding: the brain's count gives
        // way to the nearest bid open to it.
        const int chosen = NearestAllowedBid(AllowedNow(), std::clamp(bid, 0, 13));
        return TBidMsg{turn.Turn, static_cast<uint8_t>(FSeat), static_cast<uint8_t>(chosen)};
    }
    int slot = brain.ChooseSlot(own);
    const auto lawful = [&](int s) {
        const int card = s >= 1 && s <= 13 ? own.FHand[static_cast<size_t>(s)] : NoCard;
        return card != NoCard && CheckPlay(FTable, own, card) == TPlayVerdict::Legal;
    };
    // The computer's choice is never checked at its own table, but the host holds
    // a joined seat to the rules: an unlawful choice gives way to the first lawful card.
    for (int s = 1; s <= 13 && !lawful(slot); ++s)
        slot = s;
    if (!lawful(slot))
        return std::nullopt;
    return TPlayMsg{turn.Turn, static_cast<uint8_t>(FSeat), static_cast<uint8_t>(own.FHand[static_cast<size_t>(slot)])};
}

}  // namespace spades::net

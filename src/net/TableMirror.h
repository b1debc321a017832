// A joined table's copy of the hosted game, built only from what the host sends
// to this seat: its own hand, the bids, the cards laid on the table, the tricks
// and the scores. The computer strategy reads it as it reads the host's table.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "Brains.h"
#include "ExpertView.h"
#include "NetMessage.h"
#include "NullHost.h"
#include "PlayHistory.h"
#include "PlayerU.h"
#include "RuleSet.h"

namespace spades::net {

class TTableMirror {
public:
    TTableMirror();
    TTableMirror(const TTableMirror&) = delete;
    TTableMirror& operator=(const TTableMirror&) = delete;

    // False, with the reason, when the message contradicts what came before:
    // a host that does that is not followed further.
    bool Apply(const TMessage& message, std::string& why);

    // This seat's answer to its pending turn, chosen by brain; nullopt when
    // nothing is asked of it. A brain that reads an Expert's view gets one when
    // the hand's history is whole and hangs together; else it plays the classic way.
    std::optional<TMessage> Decide(const TSeatBrain& brain);
    // The answer to the pending turn with this bid or card value; nullopt when
    // nothing is asked, or the card is not held or not lawful now.
    std::optional<TMessage> AnswerWith(int value) const;

    // What the Expert at this seat may know now, for the pending turn when one
    // is pending; nullopt when the history is not whole or does not hang together.
    std::optional<TExpertView> ExpertView() const;
    // Mixed into the seed of the Expert's stream, with the hand dealt and its number.
    void SetStreamSeed(uint32_t seed) { FStreamSeed = seed; }
    const TPlayHistory& History() const { return FHistory; }

    int Seat() const { return FSeat; }
    const TTableState& Table() const { return FTable; }
    const TPlayer& Player(int seat) const { return FTable.Player(seat); }
    const std::optional<TTurnMsg>& PendingTurn() const { return FPending; }
    // The seat the table waits for, 0 when none.
    int TurnSeat() const { return FTurnSeat; }
    // The time the last Turn allowed (0: unlimited or not told).
    uint32_t TurnTimeoutMs() const { return FTurnTimeoutMs; }
    // The host plays this seat's turns until its player acts again.
    bool Away() const { return FAway; }
    bool BidKnown(int seat) const { return FBidKnown[static_cast<size_t>(seat)]; }
    TSeatState State(int seat) const { return FStates[static_cast<size_t>(seat)]; }
    int HandNumber() const { return FHandNumber; }
    // The table's rules: the welcome's score to win and the host's house rules
    // (the table's own when the host sends none).
    const TRuleSet& Rules() const { return FRules; }
    int WinScore() const { return FRules.WinScore; }
    int Winner() const { return FWinner; }
    // Who won, as the table names it: a side in a partnership, else the seat's player.
    std::string WinnerName() const;
    int CardsPlayedThisHand() const { return FCardsPlayed; }

private:
    bool Hand(const THandMsg& m, std::string& why);
    bool Card(const TCardPlayedMsg& m, std::string& why);
    bool Sync(const TSyncMsg& m, std::string& why);
    bool Restore(const THistoryMsg& m, std::string& why);
    bool HouseRules(const TRulesMsg& m, bool rulesOpen, std::string& why);
    // The bids open to this seat now (AllowedBids).
    unsigned AllowedNow() const;
    void SetOwnHand(const THandSlots& handSlots);
    TPlayer& At(int seat) { return FTable.Player(seat); }

    TNullHost FHost;
    TTableState FTable;
    int FSeat = 0;
    TRuleSet FRules;
    bool FRulesOpen = false;  // just welcomed: the house rules may come
    int FHandNumber = 0;
    int FWinner = 0;
    int FTurnSeat = 0;
    uint32_t FTurnTimeoutMs = 0;
    bool FAway = false;
    int FCardsPlayed = 0;
    std::array<bool, 5> FBidKnown{};
    std::array<TSeatState, 5> FStates{};
    std::optional<TTurnMsg> FPending;
    TPlayHistory FHistory;
    uint32_t FStreamSeed = 0;
};

}  // namespace spades::net

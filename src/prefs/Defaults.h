// The user's standing choices for the table: surface, card back, score to win,
// play speed and the four seats; loaded from and saved to the registry together
// with the song slots and the music switch, which the main window owns.
#pragma once

#include "MusicSettings.h"
#include "RuleSet.h"
#include "WinReg.h"

#include <QString>
#include <array>
#include <cstdint>

namespace spades {

inline constexpr char SpadesKeyPath[] = "\\Software\\Tarnwell\\Spades";

// The folder of the running program with a trailing '/', symlinks resolved.
QString ProgramDir();

inline constexpr uint8_t HumanPlayer = 0;
inline constexpr uint8_t ComputerPlayer = 1;
inline constexpr uint8_t ExpertPlayer = 2;  // a computer seat played by the sampling player

struct TPlayerRecord {
    QString Name;
    uint8_t PlayerType = ComputerPlayer;  // HumanPlayer, ComputerPlayer or ExpertPlayer

    friend bool operator==(const TPlayerRecord&, const TPlayerRecord&) = default;
};

class TDefaults {
public:
    static constexpr int SeatCount = 4;
    // The backs offered: the first seven of the card art's, values FirstBackValue on.
    static constexpr int BackCount = 7;

    // Loads players, options and music, in that order. Any ERegistryException
    // (ERegFileDamaged for a damaged file) leaves the constructor.
    explicit TDefaults(TMusicSettings& music);
    // The built-in preferences, without reading the store (the songs stay as they are).
    struct TBuiltIn {};
    TDefaults(TMusicSettings& music, TBuiltIn);
    TDefaults(const TDefaults&) = delete;
    TDefaults& operator=(const TDefaults&) = delete;

    void LoadPlayers();
    void LoadOptions();
    void LoadMusic();
    // Writes everything in one step: on failure the stored preferences stay as they were.
    void Save() const;

    // A short surface name in any letter case ("Oak"); an empty one is green cloth,
    // an unknown one changes nothing.
    void SetTable(const QString& shortName);
    // Back 1..7; any other index gives back 1.
    void SetCardBack(uint8_t backIndex);
    // An installed card deck by its id ("carddecks/svg-standard"); empty for the
    // built-in cards.
    void SetCardDeck(const QString& id) { FCardDeck = id; }
    void SetWinScore(int32_t score) { FWinScore = score; }
    void SetSpeed(uint8_t speed) { FSpeed = speed; }
    void SetMarkPlayable(bool mark) { FMarkPlayable = mark; }
    void SetAnimateCards(bool animate) { FAnimateCards = animate; }
    void SetRefusalsOnTable(bool onTable) { FRefusalsOnTable = onTable; }
    void SetSoundNoticeOnTable(bool onTable) { FSoundNoticeOnTable = onTable; }
    void SetCheckPlays(bool check) { FCheckPlays = check; }
    void SetSoundNoticeShown(bool shown) { FSoundNoticeShown = shown; }
    // The rules of the next game; their score to win is WinScore's.
    void SetRules(const TRuleSet& rules);

    // Seats 1..4; another seat gives an empty computer record.
    TPlayerRecord GetPlayer(int seat) const;
    // A seat outside 1..4 is ignored.
    void SetPlayerName(int seat, const QString& name);
    void SetPlayerType(int seat, uint8_t playerType);

    // The pause between plays in milliseconds: 1500, 1000, 500 or 100; Normal's
    // 1000 for a speed outside 0..3.
    int Delay() const;

    const QString& Table() const { return FTable; }  // "IDB_GREENCLOTH" ...; empty if unknown
    uint8_t CardBack() const { return FCardBack; }   // the card value of one of the offered backs
    const QString& CardDeck() const { return FCardDeck; }
    int32_t WinScore() const { return FWinScore; }
    uint8_t Speed() const { return FSpeed; }         // 0 Slow, 1 Normal, 2 Fast, 3 Bullet
    // A person's cards the rules would refuse are dimmed at their turn.
    bool MarkPlayable() const { return FMarkPlayable; }
    // Cards glide to the trick and the pile and fan out when dealt.
    bool AnimateCards() const { return FAnimateCards; }
    // A refused play is written on the table instead of in a message box.
    bool RefusalsOnTable() const { return FRefusalsOnTable; }
    // A note on the table when a person's card may have cost a trick.
    bool CheckPlays() const { return FCheckPlays; }
    TRuleSet Rules() const;
    // Why the stored rules could not be read, or empty. Unread, they stay in the
    // file as they were until other rules are chosen; the table's own are played.
    const QString& RulesProblem() const { return FRulesProblem; }
    // The notice that no sound can be made is a line on the table, not a box.
    bool SoundNoticeOnTable() const { return FSoundNoticeOnTable; }
    // That notice has been given on this machine once already.
    bool SoundNoticeShown() const { return FSoundNoticeShown; }

private:
    TMusicSettings& FMusic;
    std::array<TPlayerRecord, SeatCount> FPlayers;  // seat n at n - 1
    uint8_t FCardBack = 0;
    QString FTable;
    QString FCardDeck;
    int32_t FWinScore = 0;
    uint8_t FSpeed = 0;
    bool FMarkPlayable = true;
    bool FAnimateCards = true;
    bool FRefusalsOnTable = false;
    bool FSoundNoticeOnTable = false;
    bool FCheckPlays = false;
    bool FSoundNoticeShown = false;
    TRuleSet FRules;
    QString FStoredRules;  // as read, written back while no other rules are chosen
    QString FRulesProblem;
};

}  // namespace spades

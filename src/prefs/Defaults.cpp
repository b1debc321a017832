#include "Defaults.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "PlayerU.h"
#include "RuleText.h"

namespace spades {

namespace {

const QString OptionsSection = QStringLiteral("Options");
const QString CardDeckName = QStringLiteral("Card Deck");
const QString CheckPlaysName = QStringLiteral("Check Plays");
const QString RulesName = QStringLiteral("Rules");

struct TSeatDefault {
    const char* Name;
    uint8_t PlayerType;
};
constexpr std::array<TSeatDefault, TDefaults::SeatCount> SeatDefaults = {
    {{"North", ComputerPlayer}, {"East", ComputerPlayer}, {"South", HumanPlayer}, {"West", ComputerPlayer}}};

struct TSpeedEntry {
    const char* Name;
    int DelayMs;
};
constexpr std::array<TSpeedEntry, 4> Speeds = {{{"Slow", 1500}, {"Normal", 1000}, {"Fast", 500}, {"Bullet", 100}}};
constexpr uint8_t NormalSpeed = 1;

struct TSurface {
    const char* ShortName;  // lower case, as compared
    const char* Resource;
};
constexpr std::array<TSurface, 4> Surfaces = {{{"greencloth", "IDB_GREENCLOTH"},
                                               {"mahogany", "IDB_MAHOGANY"},
                                               {"oak", "IDB_OAK"},
                                               {"granite", "IDB_GRANITE"}}};

bool IsSeat(int seat)
{
    return seat >= 1 && seat <= TDefaults::SeatCount;
}

QString PlayerSection(int seat)
{
    return QStringLiteral("Player%1").arg(seat);
}

QString SongName(int slot)
{
    return QStringLiteral("Song_%1").arg(slot + 1);
}

const TSpeedEntry& SpeedEntry(uint8_t speed)
{
    return Speeds[speed < Speeds.size() ? speed : NormalSpeed];
}

}  // namespace

QString ProgramDir()
{
    // Without an application object /proc/self/exe still names the program.
    QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                               : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir;
}

TDefaults::TDefaults(TMusicSettings& music) : FMusic(music)
{
    LoadPlayers();
    LoadOptions();
    LoadMusic();
}

TDefaults::TDefaults(TMusicSettings& music, TBuiltIn) : FMusic(music)
{
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const TSeatDefault& builtIn = SeatDefaults[static_cast<size_t>(seat - 1)];
        FPlayers[static_cast<size_t>(seat - 1)] = {QLatin1StringView(builtIn.Name), builtIn.PlayerType};
    }
    SetTable(QStringLiteral("GREENCLOTH"));
    SetCardBack(1);
    SetWinScore(250);
    SetSpeed(NormalSpeed);
}

void TDefaults::LoadPlayers()
{
    const TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const QString section = PlayerSection(seat);
        TPlayerRecord& player = FPlayers[static_cast<size_t>(seat - 1)];
        const QString name = registry.ReadString(section, QStringLiteral("Name"), QString());
        if (name.isEmpty()) {
            const TSeatDefault& builtIn = SeatDefaults[static_cast<size_t>(seat - 1)];
            player = {QLatin1StringView(builtIn.Name), builtIn.PlayerType};
            continue;
        }
        player.Name = name;
        const QString type = registry.ReadString(section, QStringLiteral("Type"), QStringLiteral("Computer"));
        const QString lower = type.toLower();
        player.PlayerType = lower == u"human" ? HumanPlayer : lower == u"expert" ? ExpertPlayer : ComputerPlayer;
    }
}

void TDefaults::LoadOptions()
{
    const TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
    const QString table = registry.ReadString(OptionsSection, QStringLiteral("Table"), QStringLiteral("GREENCLOTH"));
    SetTable(table.isEmpty() ? QStringLiteral("GREENCLOTH") : table);

    int back = registry.ReadInteger(OptionsSection, QStringLiteral("Card Back"), 1);
    if (back < 1 || back > BackCount)
        back = 1;
    SetCardBack(static_cast<uint8_t>(back));
    SetCardDeck(registry.ReadString(OptionsSection, CardDeckName, QString()));

    SetWinScore(registry.ReadInteger(OptionsSection, QStringLiteral("WinScore"), 250));

    // Exact names only: "fast" is not Fast.
    const QString speed = registry.ReadString(OptionsSection, QStringLiteral("Speed"), QStringLiteral("Normal"));
    uint8_t found = NormalSpeed;
    for (uint8_t i = 0; i < Speeds.size(); ++i)
        if (speed == QLatin1StringView(Speeds[i].Name))
            found = i;
    SetSpeed(found);
    SetMarkPlayable(registry.ReadBool(OptionsSection, QStringLiteral("Mark Playable"), true));
    SetAnimateCards(registry.ReadBool(OptionsSection, QStringLiteral("Animate Cards"), true));
    SetRefusalsOnTable(registry.ReadBool(OptionsSection, QStringLiteral("Refusals On Table"), false));
    SetSoundNoticeOnTable(registry.ReadBool(OptionsSection, QStringLiteral("Sound Notice On Table"), false));
    SetSoundNoticeShown(registry.ReadBool(OptionsSection, QStringLiteral("Sound Notice Shown"), false));
    SetCheckPlays(registry.ReadBool(OptionsSection, CheckPlaysName, false));

    FRules = {};
    FRulesProblem.clear();
    FStoredRules = registry.ReadString(OptionsSection, RulesName, QString());
    const QByteArray text = FStoredRules.toUtf8();
    if (const std::string problem = ParseRules(FRules, {text.constData(), size_t(text.size())}); !problem.empty()) {
        FRules = {};
        FRulesProblem = QStringLiteral("The rules in the settings could not be read (%1); the table's own rules "
                                       "are played until others are chosen.")
                            .arg(QString::fromStdString(problem));
    }
}

void TDefaults::SetRules(const TRuleSet& rules)
{
    FRules = rules;
    FStoredRules = QString::fromStdString(HouseRulesText(rules));
    FRulesProblem.clear();
}

TRuleSet TDefaults::Rules() const
{
    TRuleSet rules = FRules;
    rules.WinScore = FWinScore;
    return rules;
}

void TDefaults::LoadMusic()
{
    const TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
    for (int slot = 0; slot < TMusicSettings::SlotCount; ++slot)
        FMusic.SetSong(slot, registry.ReadString(OptionsSection, SongName(slot), FMusic.Songs[static_cast<size_t>(slot)]));
    FMusic.MusicOn = registry.ReadBool(OptionsSection, QStringLiteral("MusicOn"), FMusic.MusicOn);
}

void TDefaults::Save() const
{
    // One file write for the whole set; an error drops it all.
    TWinRegistry registry{QLatin1StringView(SpadesKeyPath), TWinRegistry::TCommitMode::OnCommit};
    registry.WriteString(OptionsSection, QStringLiteral("Table"), FTable.mid(4));
    registry.WriteInteger(OptionsSection, QStringLiteral("Card Back"), int(FCardBack) - (FirstBackValue - 1));
    // Only once a deck has been chosen, so that a file that never had one keeps
    // its old layout.
    if (!FCardDeck.isEmpty() || !registry.ReadString(OptionsSection, CardDeckName, QString()).isEmpty())
        registry.WriteString(OptionsSection, CardDeckName, FCardDeck);
    registry.WriteInteger(OptionsSection, QStringLiteral("WinScore"), FWinScore);
    registry.WriteString(OptionsSection, QStringLiteral("Speed"), QLatin1StringView(SpeedEntry(FSpeed).Name));
    for (int seat = 1; seat <= SeatCount; ++seat) {
        const TPlayerRecord& player = FPlayers[static_cast<size_t>(seat - 1)];
        const QString section = PlayerSection(seat);
        registry.WriteString(section, QStringLiteral("Name"), player.Name);
        if (player.PlayerType == HumanPlayer)
            registry.WriteString(section, QStringLiteral("Type"), QStringLiteral("Human"));
        else if (player.PlayerType == ComputerPlayer)
            registry.WriteString(section, QStringLiteral("Type"), QStringLiteral("Computer"));
        else if (player.PlayerType == ExpertPlayer)
            registry.WriteString(section, QStringLiteral("Type"), QStringLiteral("Expert"));
    }
    for (int slot = 0; slot < TMusicSettings::SlotCount; ++slot)
        registry.WriteString(OptionsSection, SongName(slot), FMusic.Songs[static_cast<size_t>(slot)]);
    registry.WriteBool(OptionsSection, QStringLiteral("MusicOn"), FMusic.MusicOn);
    registry.WriteBool(OptionsSection, QStringLiteral("Mark Playable"), FMarkPlayable);
    registry.WriteBool(OptionsSection, QStringLiteral("Animate Cards"), FAnimateCards);
    registry.WriteBool(OptionsSection, QStringLiteral("Refusals On Table"), FRefusalsOnTable);
    registry.WriteBool(OptionsSection, QStringLiteral("Sound Notice On Table"), FSoundNoticeOnTable);
    registry.WriteBool(OptionsSection, QStringLiteral("Sound Notice Shown"), FSoundNoticeShown);
    // Like the deck: only once switched on, so that older files keep their layout.
    if (FCheckPlays || registry.ReadBool(OptionsSection, CheckPlaysName, false))
        registry.WriteBool(OptionsSection, CheckPlaysName, FCheckPlays);
    // Like the deck: only once other rules are chosen, so that older files keep their layout.
    if (!FStoredRules.isEmpty() || !registry.ReadString(OptionsSection, RulesName, QString()).isEmpty())
        registry.WriteString(OptionsSection, RulesName, FStoredRules);
    registry.Commit();
}

void TDefaults::SetTable(const QString& shortName)
{
    if (shortName.isEmpty()) {
        FTable = QStringLiteral("IDB_GREENCLOTH");
        return;
    }
    const QString lower = shortName.toLower();
    for (const TSurface& surface : Surfaces)
        if (lower == QLatin1StringView(surface.ShortName))
            FTable = QLatin1StringView(surface.Resource);
}

void TDefaults::SetCardBack(uint8_t backIndex)
{
    FCardBack = backIndex >= 1 && backIndex <= BackCount ? static_cast<uint8_t>(FirstBackValue - 1 + backIndex)
                                                         : FirstBackValue;
}

TPlayerRecord TDefaults::GetPlayer(int seat) const
{
    return IsSeat(seat) ? FPlayers[static_cast<size_t>(seat - 1)] : TPlayerRecord{};
}

void TDefaults::SetPlayerName(int seat, const QString& name)
{
    if (IsSeat(seat))
        FPlayers[static_cast<size_t>(seat - 1)].Name = name;
}

void TDefaults::SetPlayerType(int seat, uint8_t playerType)
{
    if (IsSeat(seat))
        FPlayers[static_cast<size_t>(seat - 1)].PlayerType = playerType;
}

int TDefaults::Delay() const
{
    return SpeedEntry(FSpeed).DelayMs;
}

}  // namespace spades

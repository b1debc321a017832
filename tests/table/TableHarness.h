// A table window for tests: its own settings and program folders, prompts that
// answer from a script, a silent music player, and short pauses.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include <gmock/gmock.h>

#include "CardDeck.h"
#include "Defaults.h"
#include "MediaPlayer.h"
#include "Sleeper.h"
#include "SpadesU.h"
#include "TablePrompts.h"

namespace spades::testing {

inline constexpr std::array<bool, 5> AllComputer{};

class TRecordingPlayer : public TMediaPlayer {
public:
    void Open() override { Opened.push_back(FileName()); }
    void Play() override { ++Plays; }
    void Close() override { ++Closes; }
    QStringList Opened;
    int Plays = 0;
    int Closes = 0;
};

class TScriptedPrompts : public TTablePrompts {
public:
    struct TNotice {
        TNoticeKind Kind;
        QString Text;
    };

    // Counts the prompts open at once: a notice that arrives inside another is stacked.
    struct TOpen {
        explicit TOpen(int& depth) : Depth(depth) { ++Depth; }
        ~TOpen() { --Depth; }
        int& Depth;
    };

    void Notice(TNoticeKind kind, const QString& text) override
    {
        if (Depth > 0)
            Stacked.push_back(text);
        TOpen open(Depth);
        Notices.push_back({kind, text});
        if (OnNotice)
            OnNotice(Notices.back());
    }
    int AskBid(const QString& caption) override
    {
        TOpen open(Depth);
        BidCaptions.push_back(caption);
        if (OnBid)
            OnBid();
        if (Bids.empty())
            return DefaultBid + 1;
        const int bid = Bids.front();
        Bids.pop_front();
        return bid + 1;
    }
    void ShowScores(const TTableState&) override
    {
        TOpen open(Depth);
        ++ScoreCards;
        if (OnScores)
            OnScores();
    }
    void ShowAbout() override { ++Abouts; }
    int RunDialog(QDialog& dialog) override
    {
        TOpen open(Depth);
        ++Dialogs;
        if (OnDialog)
            return OnDialog(dialog);
        return QDialog::Rejected;
    }
    std::optional<QString> ChooseSongFile(const QString& folder, const QString& filter) override
    {
        ChooserFolders.push_back(folder);
        ChooserFilters.push_back(filter);
        if (Songs.empty())
            return std::nullopt;
        const bool chosen = Songs.front().has_value();
        const QString song = chosen ? *Songs.front() : QString();
        Songs.pop_front();
        if (!chosen)
            return std::nullopt;
        return song;
    }

    bool Ask(const QString& text) override
    {
        Questions.push_back(text);
        if (OnAsk)
            OnAsk();
        if (Answers.empty())
            return DefaultAnswer;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    int CountNotices(const QString& text) const
    {
        int count = 0;
        for (const auto& notice : Notices)
            count += notice.Text == text;
        return count;
    }

    std::vector<TNotice> Notices;
    int Depth = 0;
    QStringList Stacked;  // notices shown on top of another prompt
    std::deque<int> Bids;
    int DefaultBid = 3;
    QStringList BidCaptions;
    int ScoreCards = 0;
    int Abouts = 0;
    int Dialogs = 0;
    std::deque<std::optional<QString>> Songs;
    QStringList ChooserFolders, ChooserFilters;
    QStringList Questions;
    std::deque<bool> Answers;
    bool DefaultAnswer = false;
    std::function<void()> OnBid;
    std::function<void()> OnAsk;
    std::function<void()> OnScores;
    std::function<void(const TNotice&)> OnNotice;
    std::function<int(QDialog&)> OnDialog;
};

// The settings file lines for one seat of the given type ("Computer", "Human", "Expert").
inline QByteArray SeatLines(int seat, const char* name, const char* type)
{
    return QByteArray("[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Player") + QByteArray::number(seat) +
           "]\n\"Name\"=\"" + name + "\"\n\"Type\"=\"" + type + "\"\n\n";
}
inline QByteArray SeatLines(int seat, const char* name, bool human)
{
    return SeatLines(seat, name, human ? "Human" : "Computer");
}

// A whole settings file, at the Bullet pace without music, whose seats are of the given types.
inline QByteArray SeatSettings(const std::array<const char*, 5>& types)
{
    QByteArray text = "Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                      "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n\n";
    static const char* names[] = {"", "North", "East", "South", "West"};
    for (int seat = 1; seat <= 4; ++seat)
        text += SeatLines(seat, names[seat], types[static_cast<size_t>(seat)]);
    return text;
}

class TTableHarness {
public:
    // options: extra value lines of the Options section; humans: which seats a person plays.
    explicit TTableHarness(std::array<bool, 5> humans = {false, false, false, true, false},
                           const QByteArray& options = "\"Speed\"=\"Bullet\"\n\"MusicOn\"=dword:00000000\n")
    {
        qputenv("XDG_CONFIG_HOME", Config.path().toUtf8());
        qputenv("XDG_DATA_HOME", Data.path().toUtf8());
        QByteArray text = "Windows Registry Editor Version 5.00\n\n"
                          "[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n" +
                          options + "\n";
        static const char* names[] = {"", "North", "East", "South", "West"};
        for (int seat = 1; seat <= 4; ++seat)
            text += SeatLines(seat, names[seat], humans[static_cast<size_t>(seat)]);
        WriteSettings(text);
    }

    void WriteSettings(const QByteArray& text)
    {
        QDir().mkpath(Config.path() + "/Tarnwell");
        QFile file(SettingsPath());
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
    }
    QString SettingsPath() const { return Config.path() + "/Tarnwell/Spades.reg"; }
    QString ProgramFolder() const { return Program.path() + "/"; }

    // Creates and shows the window; pauses become a millisecond.
    TfrmMain& Open(uint32_t seed = 12345, int pause = 1)
    {
        TTableEnvironment environment;
        environment.ProgramDir = ProgramFolder();
        environment.LogFallbackDir = Data.path() + "/Tarnwell/Spades";
        environment.Prompts = &Prompts;
        environment.MusicPlayer = &Music;
        environment.PreviewPlayer = &Preview;
        environment.CheckScreenWidth = false;
        environment.HistoryPath = HistoryPath;
        Window = std::make_unique<TfrmMain>(environment);
        Window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
        Window->Game().Random.SetSeed(seed);
        Window->GameSleeper().SetInterval(pause);
        return *Window;
    }

    TCardDeck& Card(int seat, int slot) const
    {
        return *Window->findChild<TCardDeck*>(QString("imgPlayer%1%2").arg(seat).arg(slot));
    }
    template <typename T>
    T* Find(const QString& name) const
    {
        return Window->findChild<T*>(name);
    }

    // The seat whose cards wait for a click, or 0.
    int WaitingSeat() const
    {
        TSpadesGame& game = Window->Game();
        if (game.TrickFull() || !game.Table.Player(game.SeatToPlay()).FHuman)
            return 0;
        const int seat = game.SeatToPlay();
        for (int slot = 1; slot <= 13; ++slot)
            if (Card(seat, slot).HasClickHandler())
                return seat;
        return 0;
    }

    // Clicks the first legal card of the waiting seat.
    void PlayLegalCard()
    {
        const int seat = WaitingSeat();
        ASSERT_NE(seat, 0);
        for (int slot = 1; slot <= 13; ++slot) {
            if (Window->Game().Table.Player(seat).FHand[static_cast<size_t>(slot)] == NoCard)
                continue;
            if (Window->Game().CheckPersonCard(seat, slot) == TPlayVerdict::Legal) {
                QTest::mouseClick(&Card(seat, slot), Qt::LeftButton, {}, QPoint(5, 5));
                return;
            }
        }
        FAIL() << "no legal card";
    }

    // The game history file; empty for the one under the harness's own data folder.
    QString HistoryFile() const { return HistoryPath.isEmpty() ? Data.path() + "/Tarnwell/Spades/history.sqlite" : HistoryPath; }

    QTemporaryDir Config, Data, Program;
    QString HistoryPath;
    TScriptedPrompts Prompts;
    TRecordingPlayer Music, Preview;
    std::unique_ptr<TfrmMain> Window;
};

}  // namespace spades::testing

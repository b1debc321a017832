// The table window's preferences: loaded from the settings file (a damaged one is
// kept aside), put onto the table, and edited in the preferences dialog.
#include "SpadesU.h"

#include <QDir>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>

#include "CardDeck.h"
#include "Cmpint32.h"
#include "CardFaces.h"
#include "Defaults.h"
#include "PlayComfort.h"
#include "JoinedTable.h"
#include "LblEffct.h"
#include "OptDialog.h"
#include "RegErrors.h"
#include "RegFile.h"
#include "Sleeper.h"
#include "TableScene.h"
#include "Tilemap.h"
#include "WinReg.h"
#include "WindowState.h"

namespace spades {

void TfrmMain::LoadDefaults()
{
    QString why;
    QString filePath = RegFilePathFor(SpadesKeyPath);
    try {
        FDefaults = std::make_unique<TDefaults>(FMusic);
        if (!FDefaults->RulesProblem().isEmpty())
            FPrompts->Notice(TNoticeKind::Warning, FDefaults->RulesProblem());
        return;
    } catch (const ERegFileDamaged& error) {
        why = error.Text();
        filePath = error.FilePath();
    } catch (const ERegistryException& error) {
        why = ErrorMessage(error);  // a value of the wrong type, or a file that cannot be read
    }
    // Keep the file aside, say where, and start from the defaults.
    QString copy;
    try {
        copy = TRegFile(filePath).KeepDamagedCopy();
    } catch (const ERegistryException& keepError) {
        why += "\r" + ErrorMessage(keepError);
    }
    FMusic.SetDefaults(FEnvironment.ProgramDir);
    QString text = "Your preferences could not be loaded:\r" + why + "\r\r";
    if (!copy.isEmpty())
        text += "The file was kept as " + QDir::toNativeSeparators(copy) + ".\r";
    text += "The game starts with the default preferences.";
    FPrompts->Notice(TNoticeKind::Warning, text);
    try {
        FDefaults = std::make_unique<TDefaults>(FMusic);
    } catch (const ERegistryException&) {
        // The file could not be moved either: play with the built-in preferences,
        // which are never saved over it.
        FDefaults = std::make_unique<TDefaults>(FMusic, TDefaults::TBuiltIn{});
        FDefaultsUnsaveable = true;
    }
}

void TfrmMain::ReloadDefaults()
{
    // The new set replaces the old in one step: nothing ever meets the table without one.
    const bool noticeGiven = FDefaults && FDefaults->SoundNoticeShown();
    LoadDefaults();
    if (noticeGiven && FDefaults)
        FDefaults->SetSoundNoticeShown(true);  // given in this run, though not saved yet
}

void TfrmMain::ApplyPreferences()
{
    TTableState& table = FGame.Table;
    table.CardBack = FDefaults->CardBack();
    FScene->ForEachCard([&](const TCardDeck& card, TCardControl& control) {
        if (card.Value() >= FirstBackValue && card.Value() <= LastBackValue)
            control.SetValue(table.CardBack);
    });
    for (int seat = North; seat <= West; ++seat)
        crdStack[static_cast<size_t>(seat)]->SetValue(table.CardBack);
    ApplyCardDeck();

    FCycle.SetNextRules(FDefaults->Rules());
    FCycle.SetWinScore(FDefaults->WinScore());
    if (!FDefaults->CheckPlays())
        ResetChecker();

    Guarded([this] {
        // A surface the preferences do not know shows green cloth.
        const QString surface = FDefaults->Table().isEmpty() ? QString("IDB_GREENCLOTH") : FDefaults->Table();
        LoadCompressedBitmap(surface, bmpBackGround->BitMap());
        bmpBackGround->update();
    });

    FSleeper->SetInterval(FDefaults->Delay());
    table.AllComputer = true;
    for (int seat = North; seat <= West; ++seat) {
        const TPlayerRecord record = FDefaults->GetPlayer(seat);
        TLabelEffect* label = SeatLabel(seat);
        FScene->SetSeatName(seat, record.Name);
        TPlayer& player = table.Player(seat);
        player.SetSeat(seat);
        player.SetName(record.Name.toStdString());
        player.FExpert = record.PlayerType == ExpertPlayer;
        if (record.PlayerType == HumanPlayer) {
            player.SetHuman(true);
            table.AllComputer = false;
            table.StopRequested = false;
            btnInterrupt->hide();
        }
        const QRect place = FScene->TableRect(*label);
        player.SetHandRect({place.left(), place.top() + place.height() + 11, CardWidth, CardHeight});
    }
    // After the captions: the seats are read out by the names just given.
    FComfort->SetOptions(FDefaults->MarkPlayable(), FDefaults->AnimateCards());
    if (net::TJoinedTable* joined = JoinedTable())
        joined->ApplyLook(Look());
}

// The chosen deck onto every card, or the built-in faces with one message why not.
void TfrmMain::ApplyCardDeck()
{
    if (!FCardFaces)
        FCardFaces = std::make_shared<TCardFaces>();
    if (const QString refusal = FCardFaces->Choose(FDefaults->CardDeck()); !refusal.isEmpty())
        FPrompts->Notice(TNoticeKind::Warning, refusal);
    ShowCardFaces(*this, FCardFaces);
}

void TfrmMain::mniPrefsClick()
{
    RunPreferences(*this);
}

void TfrmMain::RestorePlacement()
{
    std::optional<TWindowPlacement> stored;
    try {
        const TWinRegistry registry{QLatin1StringView(SpadesKeyPath)};
        stored = LoadWindowPlacement(registry);
    } catch (const std::exception&) {
        // A file that cannot be read is reported with the preferences, once the window shows.
    }
    QList<QRect> screens;
    const auto usable = [](const QScreen& screen) {
        return UsableForWindows(screen.availableGeometry(), screen.devicePixelRatio());
    };
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        screens.append(usable(*primary));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            screens.append(usable(*screen));
    if (!stored) {
        if (!screens.isEmpty()) {
            const int menu = menuBar()->sizeHint().height();
            resize(ComfortableSize(QSize(TTableScene::Width, TTableScene::Height), menu, screens.front()));
            move(screens.front().center() - rect().center());
        }
        return;
    }
    const QSize minimum(TTableScene::Width, TTableScene::Height + menuBar()->sizeHint().height());
    const TWindowPlacement placement = FitToScreens(*stored, screens, minimum);
    setGeometry(placement.Geometry);
    if (placement.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TfrmMain::SavePlacement()
{
    TWinRegistry registry{QLatin1StringView(SpadesKeyPath), TWinRegistry::TCommitMode::OnCommit};
    SaveWindowPlacement(registry, {isMaximized() ? normalGeometry() : geometry(), isMaximized()});
    registry.Commit();
}

}  // namespace spades

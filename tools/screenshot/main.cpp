// spades-screenshot OUT.png: the table in the middle of a hand, as the program
// draws it, for the software centre's listing. A fixed deal, South played by
// clicking its first legal card, the others by the computer.
#include <QApplication>
#include <QDialog>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "Application.h"
#include "CardDeck.h"
#include "MediaPlayer.h"
#include "Sleeper.h"
#include "SpadesU.h"
#include "TablePrompts.h"

using namespace spades;

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: spades-screenshot OUT.png\n");
        return 2;
    }
    QApplication application(argc, argv);
    SetUpApplication();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.path().toUtf8());

    TUnattendedPrompts prompts;
    TSilentPlayer music, preview;
    TTableEnvironment environment;
    environment.ProgramDir = home.path() + "/";
    environment.Prompts = &prompts;
    environment.MusicPlayer = &music;
    environment.PreviewPlayer = &preview;
    environment.CheckScreenWidth = false;
    TfrmMain window(environment);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "spades-screenshot: the window was not shown\n");
        return 1;
    }
    window.Game().Random.SetSeed(20261208);
    window.GameSleeper().SetInterval(1);
    window.Steps().Request(TTableRequest::NewGame);

    // Play until the fifth trick, then stop where South must answer the cards on the table.
    TSpadesGame& game = window.Game();
    for (int clicks = 0; clicks < 20; ++clicks) {
        const bool southWaits = QTest::qWaitFor(
            [&] { return !game.TrickFull() && game.SeatToPlay() == South &&
                         window.findChild<TCardDeck*>("imgPlayer31") != nullptr &&
                         game.Table.Player(South).FHuman; },
            10000);
        if (!southWaits)
            break;
        QTest::qWait(20);
        if (game.Table.Player(South).FCardCount <= 9 && game.Table.Place(2).HasCard())
            break;
        for (int slot = 1; slot <= 13; ++slot) {
            if (game.Table.Player(South).FHand[static_cast<size_t>(slot)] == NoCard ||
                game.CheckPersonCard(South, slot) != TPlayVerdict::Legal)
                continue;
            auto* card = window.findChild<TCardDeck*>(QString("imgPlayer3%1").arg(slot));
            QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(5, 5));
            break;
        }
    }
    QTest::qWait(50);
    const QImage shot = window.grab().toImage();
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || !shot.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "spades-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

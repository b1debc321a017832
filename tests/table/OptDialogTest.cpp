// The preferences dialog on the real window: what OK and Cancel keep, each
// page's controls, the seats' quirks and the songs.
#include <gmock/gmock.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QSignalSpy>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>
#include <QTabWidget>
#include <QToolButton>

#include "HelpViewer.h"
#include "LblEffct.h"
#include "OptDialog.h"
#include "RuleText.h"
#include "RulesPage.h"
#include "Shape.h"
#include "TableHarness.h"
#include "Tilemap.h"

using namespace spades;
using namespace spades::testing;
using ::testing::ElementsAre;

namespace {

class OptDialog : public ::testing::Test {
protected:
    // Runs the Preferences command; the script works on the shown dialog and ends it.
    void Run(TfrmMain& window, std::function<void(TdlgOptions&)> script)
    {
        table.Prompts.OnDialog = [script](QDialog& dialog) {
            dialog.show();
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            script(static_cast<TdlgOptions&>(dialog));
            if (dialog.isVisible())
                dialog.reject();
            return dialog.result();
        };
        window.Steps().Request(TTableRequest::Preferences);
    }
    static void Ok(TdlgOptions& dialog) { QTest::mouseClick(dialog.btnOk(), Qt::LeftButton); }
    static void Cancel(TdlgOptions& dialog) { QTest::mouseClick(dialog.btnCancel(), Qt::LeftButton); }
    static void Page(TdlgOptions& dialog, int page) { dialog.pgeOptions()->setCurrentIndex(page); }

    QByteArray Settings() const
    {
        QFile file(table.SettingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TTableHarness table;
};

TEST_F(OptDialog, OkAtOnceSavesAndAppliesUnchanged)
{
    TfrmMain& window = table.Open();
    window.Steps().Request(TTableRequest::NewGame);
    const auto faces = window.Table().Player(South).FHand;
    Run(window, Ok);
    EXPECT_EQ(table.Prompts.Dialogs, 1);
    const QByteArray saved = Settings();
    EXPECT_TRUE(saved.contains("\"Speed\"=\"Bullet\""));
    EXPECT_TRUE(saved.contains("\"Table\"=\"GREENCLOTH\""));
    EXPECT_TRUE(saved.contains("\"WinScore\"=dword:000000fa"));
    EXPECT_EQ(window.GameSleeper().Interval(), 100);
    for (int slot = 1; slot <= 13; ++slot)
        EXPECT_EQ(table.Card(South, slot).Value(), faces[static_cast<size_t>(slot)]) << "faces keep their faces";
}

TEST_F(OptDialog, CheckMyPlaysIsOffUntilTickedOnTheGeneralPage)
{
    TfrmMain& window = table.Open();
    EXPECT_FALSE(Settings().contains("Check Plays"));
    Run(window, [](TdlgOptions& dialog) {
        QCheckBox* box = dialog.chkCheckPlays();
        EXPECT_EQ(box->text(), "Check my plays");
        EXPECT_EQ(box->parentWidget()->objectName(), "tabGeneral");
        // Every switch of the page shows whole within it, the last one too.
        for (const QCheckBox* each : box->parentWidget()->findChildren<QCheckBox*>())
            EXPECT_TRUE(box->parentWidget()->rect().contains(each->geometry())) << each->text().toStdString();
        EXPECT_FALSE(box->isChecked());
        box->setChecked(true);
        Ok(dialog);
    });
    EXPECT_TRUE(window.GameDefaults()->CheckPlays());
    EXPECT_TRUE(Settings().contains("\"Check Plays\"=dword:00000001"));
}

TEST_F(OptDialog, F1OpensTheManualAtThePreferences)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
        QTest::keyClick(&dialog, Qt::Key_F1);
    });
    EXPECT_TRUE(window.Help().isVisible());
    EXPECT_EQ(window.Help().Browser()->source().fragment(), "preferences");
}

TEST_F(OptDialog, ScoreOtherThan250Or500Stays)
{
    TTableHarness odd(AllComputer, "\"WinScore\"=dword:0000012c\n\"MusicOn\"=dword:00000000\n");
    TfrmMain& window = odd.Open();
    odd.Prompts.OnDialog = [](QDialog& dialog) {
        auto& options = static_cast<TdlgOptions&>(dialog);
        dialog.show();
        EXPECT_FALSE(options.ScoreButton(0)->isChecked());
        EXPECT_FALSE(options.ScoreButton(1)->isChecked());
        options.pgeOptions()->setCurrentIndex(TdlgOptions::tabCards);  // leaving the page changes nothing
        options.pgeOptions()->setCurrentIndex(TdlgOptions::tabGeneral);
        dialog.accept();
        return dialog.result();
    };
    window.Steps().Request(TTableRequest::Preferences);
    EXPECT_EQ(window.GameDefaults()->WinScore(), 300);
    EXPECT_EQ(window.Game().FRules.WinScore, 300);
}

struct TRulesPageCase {
    const char* Name;
    bool Ok;
    const char* Stored;  // the settings line after the dialog; nullptr for none
};

class RulesPageEnds : public OptDialog, public ::testing::WithParamInterface<TRulesPageCase> {};

TEST_P(RulesPageEnds, ChoicesByKeysAreTheNextGamesRules)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::tabRules);
        TRulesPage& page = *dialog.RulesPage();
        QComboBox* variant = page.Choice(0);
        QTest::keyClick(variant, Qt::Key_Down);  // partnership
        EXPECT_EQ(page.Choice(1)->currentIndex(), 1) << "partners play the ten-bag rule";
        QTest::keyClick(page.Choice(7), Qt::Key_End);  // Suicide
        EXPECT_EQ(HouseRulesText(page.Rules()), "variant=partnership bags=ten bidding=suicide");
        QTest::keyClick(variant, Qt::Key_Up);  // back to every seat alone: Suicide goes with it
        EXPECT_EQ(page.Choice(7)->currentIndex(), 0);
        QTest::keyClick(page.Choice(2), Qt::Key_Down);  // Nil worth 50
        if (GetParam().Ok)
            Ok(dialog);
        else
            Cancel(dialog);
    });
    const char* stored = GetParam().Stored;
    if (stored)
        EXPECT_THAT(Settings().toStdString(), ::testing::HasSubstr(stored));
    else
        EXPECT_THAT(Settings().toStdString(), ::testing::Not(::testing::HasSubstr("\"Rules\"")));
    EXPECT_EQ(window.Game().FRules, TRuleSet{}) << "the game in progress keeps its rules";
    EXPECT_EQ(HouseRulesText(window.Cycle().NextRules()), GetParam().Ok ? "bags=ten nil=50" : "");
    window.Steps().Request(TTableRequest::NewGame);
    EXPECT_EQ(HouseRulesText(window.Game().FRules), GetParam().Ok ? "bags=ten nil=50" : "");
}

INSTANTIATE_TEST_SUITE_P(Ends, RulesPageEnds,
                         ::testing::Values(TRulesPageCase{"Ok", true, "\"Rules\"=\"bags=ten nil=50\""},
                                           TRulesPageCase{"Cancel", false, nullptr}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(OptDialog, BulletSetsAPauseOf100AtOnceAfterOk)
{
    TTableHarness slow(AllComputer, "\"Speed\"=\"Slow\"\n\"MusicOn\"=dword:00000000\n");
    TfrmMain& window = slow.Open(1, 1500);
    window.GameSleeper().SetInterval(1500);
    slow.Prompts.OnDialog = [](QDialog& dialog) {
        auto& options = static_cast<TdlgOptions&>(dialog);
        dialog.show();
        EXPECT_EQ(options.cbxSpeed()->currentIndex(), 0);
        options.cbxSpeed()->setCurrentIndex(3);
        QTest::mouseClick(options.btnOk(), Qt::LeftButton);
        return dialog.result();
    };
    window.Steps().Request(TTableRequest::Preferences);
    EXPECT_EQ(window.GameSleeper().Interval(), 100);
    EXPECT_EQ(window.GameDefaults()->Speed(), 3);
}

TEST_F(OptDialog, RenamedSeatShowsItsOldNameAfterSwitchingBack)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::tabPlayers);
        EXPECT_EQ(dialog.cbxPlayers()->count(), 4);
        EXPECT_EQ(dialog.edtPlayerName()->text(), "North");
        EXPECT_TRUE(dialog.TypeButton(0)->isChecked());
        dialog.edtPlayerName()->setFocus();
        dialog.edtPlayerName()->selectAll();
        QTest::keyClicks(dialog.edtPlayerName(), "Zo");
        QTest::keyClick(dialog.edtPlayerName(), Qt::Key_E);  // typed, the way a person does
        dialog.edtPlayerName()->setText("Zoë");
        QFocusEvent out(QEvent::FocusOut);  // leaving the edit box stores the name at once
        QApplication::sendEvent(dialog.edtPlayerName(), &out);
        EXPECT_EQ(dialog.findChild<QComboBox*>("cbxPlayers")->itemText(0), "North");
        dialog.cbxPlayers()->setCurrentIndex(1);
        emit dialog.cbxPlayers()->activated(1);
        EXPECT_EQ(dialog.edtPlayerName()->text(), "East");
        EXPECT_EQ(dialog.findChild<QGroupBox*>("grpPlayer1")->title(), "East") << "named after the chosen seat";
        dialog.cbxPlayers()->setCurrentIndex(0);
        emit dialog.cbxPlayers()->activated(0);
        EXPECT_EQ(dialog.edtPlayerName()->text(), "North") << "the row keeps the name from when the page was entered";
        EXPECT_EQ(dialog.findChild<QGroupBox*>("grpPlayer1")->title(), "North");
        Ok(dialog);
    });
    EXPECT_EQ(window.GameDefaults()->GetPlayer(North).Name, "Zoë");
    EXPECT_EQ(window.Table().Player(North).FName, "Zoë");
    EXPECT_EQ(table.Find<TLabelEffect>("lblPlayer1")->Caption(), "Zoë");
    EXPECT_TRUE(Settings().contains("\"Name\"=\"Zoë\""));
}

TEST_F(OptDialog, EnterOnTheNameEditStillKeepsTheName)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::tabPlayers);
        dialog.edtPlayerName()->setFocus();
        dialog.edtPlayerName()->selectAll();
        QTest::keyClicks(dialog.edtPlayerName(), "Dong");
        QTest::keyClick(dialog.edtPlayerName(), Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(window.GameDefaults()->GetPlayer(North).Name, "Dong");
}

TEST_F(OptDialog, AllComputersKeepTheStopButtonOneHumanHidesIt)
{
    TTableHarness computers(AllComputer);
    TfrmMain& window = computers.Open();
    window.Steps().Request(TTableRequest::NewGame);
    auto* stop = computers.Find<QToolButton>("btnInterrupt");
    computers.Prompts.OnDialog = [](QDialog& dialog) {
        auto& options = static_cast<TdlgOptions&>(dialog);
        dialog.show();
        options.pgeOptions()->setCurrentIndex(TdlgOptions::tabPlayers);
        QTest::mouseClick(options.btnOk(), Qt::LeftButton);
        return dialog.result();
    };
    window.Steps().Request(TTableRequest::Preferences);
    EXPECT_TRUE(window.Table().AllComputer);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.Steps().Busy(); }, 2000));
    computers.Prompts.OnDialog = [](QDialog& dialog) {
        auto& options = static_cast<TdlgOptions&>(dialog);
        dialog.show();
        options.pgeOptions()->setCurrentIndex(TdlgOptions::tabPlayers);
        options.cbxPlayers()->setCurrentIndex(2);
        emit options.cbxPlayers()->activated(2);
        QTest::mouseClick(options.TypeButton(1), Qt::LeftButton, {}, QPoint(6, 10));
        QTest::mouseClick(options.btnOk(), Qt::LeftButton);
        return dialog.result();
    };
    window.Steps().Request(TTableRequest::Preferences);
    ASSERT_TRUE(QTest::qWaitFor([&] { return computers.Prompts.Dialogs == 2; }, 20000));
    EXPECT_FALSE(window.Table().AllComputer);
    EXPECT_FALSE(stop->isVisible());
    EXPECT_TRUE(window.Table().Player(South).FHuman) << "the seat object changes at once";
}

TEST_F(OptDialog, ThirdTypeMakesAnExpertSeatAndIsSavedAsExpert)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::tabPlayers);
        EXPECT_EQ(dialog.TypeButton(2)->text(), "Expert");
        dialog.cbxPlayers()->setCurrentIndex(1);
        emit dialog.cbxPlayers()->activated(1);
        QTest::mouseClick(dialog.TypeButton(2), Qt::LeftButton, {}, QPoint(6, 10));
        Ok(dialog);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.Prompts.Dialogs == 1 && !window.Steps().Busy(); }, 20000));
    EXPECT_TRUE(window.Table().Player(East).FExpert);
    EXPECT_FALSE(window.Table().Player(East).FHuman);
    EXPECT_EQ(window.GameDefaults()->GetPlayer(East).PlayerType, ExpertPlayer);
    EXPECT_TRUE(Settings().contains("Player2]\n\"Name\"=\"East\"\n\"Type\"=\"Expert\""));
    // The page shows the stored type when the seat is chosen again.
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::tabPlayers);
        dialog.cbxPlayers()->setCurrentIndex(1);
        emit dialog.cbxPlayers()->activated(1);
        EXPECT_TRUE(dialog.TypeButton(2)->isChecked());
        Cancel(dialog);
    });
}

TEST_F(OptDialog, CancelledChooserEmptiesTheSlotAndCancelBringsItBack)
{
    TfrmMain& window = table.Open();
    window.close();  // saves the default songs to the store
    TfrmMain& again = table.Open();
    const QString stored = again.Music().Songs[2];
    ASSERT_FALSE(stored.isEmpty());
    table.Prompts.Songs = {std::nullopt};
    Run(again, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::TabMusic);
        QTest::mouseClick(dialog.ChooseButton(2), Qt::LeftButton);
        EXPECT_EQ(dialog.SongPanel(2)->text(), "<none>");
        EXPECT_EQ(dialog.SongPanel(2)->toolTip(), "<no song selected>");
        Cancel(dialog);
    });
    EXPECT_EQ(again.Music().Songs[2], stored);
    EXPECT_EQ(table.Prompts.ChooserFolders.value(0), table.ProgramFolder());
    EXPECT_EQ(table.Prompts.ChooserFilters.value(0), "Midi Files (*.mid *.rmi)");

    table.Prompts.Songs = {std::nullopt};
    Run(again, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::TabMusic);
        QTest::mouseClick(dialog.ChooseButton(2), Qt::LeftButton);
        Ok(dialog);
    });
    EXPECT_EQ(again.Music().Songs[2], "") << "emptied even though OK closed the dialog";
}

TEST_F(OptDialog, ChosenSongFillsTheSlot)
{
    TfrmMain& window = table.Open();
    table.Prompts.Songs = {QString("/music/tune.mid")};
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::TabMusic);
        QTest::mouseClick(dialog.ChooseButton(6), Qt::LeftButton);
        EXPECT_EQ(dialog.SongPanel(6)->text(), "/music/tune.mid");
        EXPECT_EQ(dialog.SongPanel(6)->toolTip(), "/music/tune.mid");
        Ok(dialog);
    });
    EXPECT_EQ(window.Music().Songs[6], "/music/tune.mid");
    EXPECT_TRUE(Settings().contains("\"Song_7\"=\"/music/tune.mid\""));
}

TEST_F(OptDialog, PreviewWarnsForAMissingFileAndPlaysAnExistingOne)
{
    TfrmMain& window = table.Open();
    QFile song(table.ProgramFolder() + "song.mid");
    song.open(QIODevice::WriteOnly);
    song.close();
    window.Music().SetSong(0, QString());
    window.Music().SetSong(1, table.ProgramFolder() + "gone.rmi");
    window.Music().SetSong(2, song.fileName());
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::TabMusic);
        QTest::mouseClick(dialog.PreviewButton(0), Qt::LeftButton);
        QTest::mouseClick(dialog.PreviewButton(1), Qt::LeftButton);
        QTest::mouseClick(dialog.PreviewButton(2), Qt::LeftButton);
        Cancel(dialog);
    });
    ASSERT_GE(table.Prompts.Notices.size(), 2u);
    EXPECT_EQ(table.Prompts.Notices[0].Text, "Could not find .  Please choose a valid MIDI file.");
    EXPECT_EQ(table.Prompts.Notices[0].Kind, TNoticeKind::Warning);
    EXPECT_EQ(table.Prompts.Notices[1].Text, "Could not find gone.rmi.  Please choose a valid MIDI file.");
    EXPECT_THAT(table.Preview.Opened, ElementsAre(song.fileName()));
    EXPECT_EQ(table.Preview.Plays, 1);
    EXPECT_GE(table.Preview.Closes, 4) << "closed before each preview and when the dialog goes";
}

TEST_F(OptDialog, CancelRestoresEverythingFromTheStore)
{
    TfrmMain& window = table.Open();
    window.close();
    TfrmMain& again = table.Open();
    Run(again, [](TdlgOptions& dialog) {
        dialog.cbxSpeed()->setCurrentIndex(0);
        QTest::mouseClick(dialog.ScoreButton(1), Qt::LeftButton, {}, QPoint(6, 10));
        Page(dialog, TdlgOptions::tabTable);
        QTest::mouseClick(dialog.SurfaceImage(3), Qt::LeftButton);
        EXPECT_EQ(dialog.Shape1()->pos(), dialog.SurfaceImage(3)->pos() - QPoint(2, 2));
        Page(dialog, TdlgOptions::tabCards);
        QTest::mouseClick(dialog.BackCard(4), Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(dialog.shpCardSel()->pos(), dialog.BackCard(4)->pos() - QPoint(2, 2));
        Page(dialog, TdlgOptions::tabPlayers);
        QTest::mouseClick(dialog.TypeButton(1), Qt::LeftButton, {}, QPoint(6, 10));
        Cancel(dialog);
    });
    TDefaults& defaults = *again.GameDefaults();
    EXPECT_EQ(defaults.Speed(), 3);
    EXPECT_EQ(defaults.WinScore(), 250);
    EXPECT_EQ(defaults.Table(), "IDB_GREENCLOTH");
    EXPECT_EQ(defaults.CardBack(), 54);
    EXPECT_EQ(defaults.GetPlayer(North).PlayerType, ComputerPlayer);
    EXPECT_EQ(again.Table().CardBack, 54) << "nothing reached the table";
    EXPECT_TRUE(again.Table().Player(North).FHuman) << "a type clicked reaches the seat at once and stays";
}

TEST_F(OptDialog, OkAppliesSurfaceAndBack)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::tabTable);
        EXPECT_EQ(dialog.Shape1()->pos(), QPoint(76, 20)) << "green cloth is marked";
        EXPECT_FALSE(dialog.SurfaceImage(2)->pixmap().isNull());
        QTest::mouseClick(dialog.SurfaceImage(2), Qt::LeftButton);
        Page(dialog, TdlgOptions::tabCards);
        for (int i = 0; i < 7; ++i)
            EXPECT_TRUE(dialog.BackCard(i)->Visible());
        EXPECT_EQ(dialog.shpCardSel()->pos(), QPoint(34, 22));
        QTest::mouseClick(dialog.BackCard(6), Qt::LeftButton, {}, QPoint(5, 5));
        Ok(dialog);
    });
    EXPECT_EQ(window.GameDefaults()->Table(), "IDB_OAK");
    EXPECT_EQ(window.Table().CardBack, 60);
    EXPECT_EQ(table.Find<TTiledBitmap>("bmpBackGround")->BitMap().size(), QSize(124, 125));
    EXPECT_TRUE(Settings().contains("\"Table\"=\"OAK\""));
    EXPECT_TRUE(Settings().contains("\"Card Back\"=dword:00000007"));
}

TEST_F(OptDialog, ClosingThroughTheFrameIsCancel)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        dialog.cbxSpeed()->setCurrentIndex(0);
        dialog.close();
    });
    EXPECT_EQ(window.GameDefaults()->Speed(), 3);
}

TEST_F(OptDialog, PagesAndControlsAreWhereTheTableSays)
{
    TfrmMain& window = table.Open();
    Run(window, [](TdlgOptions& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Preferences");
        QStringList pages;
        for (int i = 0; i < dialog.pgeOptions()->count(); ++i)
            pages << dialog.pgeOptions()->tabText(i);
        EXPECT_THAT(pages, ElementsAre("General", "Appearance", "Cards", "Players", "Music", "Rules"));
        EXPECT_EQ(dialog.pgeOptions()->currentIndex(), 0);
        EXPECT_EQ(dialog.pgeOptions()->size(), QSize(327, 257));
        QStringList speeds;
        for (int i = 0; i < dialog.cbxSpeed()->count(); ++i)
            speeds << dialog.cbxSpeed()->itemText(i);
        EXPECT_THAT(speeds, ElementsAre("Slow", "Normal", "Fast", "Bullet"));
        QStringList labels;
        for (auto* label : dialog.pgeOptions()->widget(1)->findChildren<QLabel*>())
            if (!label->text().isEmpty())
                labels << label->text();
        EXPECT_THAT(labels, ElementsAre("Green Cloth", "Mohagany", "Oak", "Granite"));
        EXPECT_EQ(dialog.SurfaceImage(0)->geometry(), QRect(78, 22, 50, 50));
        EXPECT_EQ(dialog.SurfaceImage(3)->geometry(), QRect(230, 102, 50, 50));
        EXPECT_EQ(dialog.BackCard(0)->geometry(), QRect(36, 24, 51, 76));
        EXPECT_EQ(dialog.BackCard(6)->geometry(), QRect(167, 116, 51, 76));
        EXPECT_EQ(dialog.BackCard(2)->Value(), 56);
        EXPECT_FALSE(dialog.BackCard(0)->Visible()) << "hidden until the page is entered";
        EXPECT_EQ(dialog.ChooseButton(7)->geometry(), QRect(8, 16 + 7 * 24, 49, 17));
        EXPECT_EQ(dialog.ChooseButton(7)->text(), "Song 8:");
        EXPECT_EQ(dialog.SongPanel(0)->geometry(), QRect(64, 16, 177, 17));
        EXPECT_EQ(dialog.PreviewButton(3)->geometry(), QRect(246, 16 + 3 * 24, 65, 17));
        EXPECT_EQ(dialog.PreviewButton(3)->text(), "Preview");
        EXPECT_EQ(dialog.CheckBox1()->text(), "Music On");
        EXPECT_EQ(dialog.CheckBox1()->pos(), QPoint(239, 210));
        EXPECT_FALSE(dialog.CheckBox1()->isChecked());
        EXPECT_EQ(dialog.SongPanel(7)->text(), "<none>");
        Cancel(dialog);
    });
}

TEST_F(OptDialog, MusicStopsForTheDialogAndRestartsFromTheFirstSong)
{
    QFile first(table.ProgramFolder() + "first.mid"), second(table.ProgramFolder() + "second.mid");
    first.open(QIODevice::WriteOnly);
    second.open(QIODevice::WriteOnly);
    table.WriteSettings("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Tarnwell\\Spades\\Options]\n"
                        "\"MusicOn\"=dword:00000001\n\"Song_1\"=\"\"\n\"Song_2\"=\"" +
                        first.fileName().toUtf8() + "\"\n\"Song_3\"=\"" + second.fileName().toUtf8() +
                        "\"\n\"Song_4\"=\"\"\n\"Song_5\"=\"\"\n\"Song_6\"=\"\"\n\n");
    TfrmMain& window = table.Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return table.Music.Plays == 1; }, 5000)) << "the first song starts";
    EXPECT_THAT(table.Music.Opened, ElementsAre(first.fileName()));
    const int closes = table.Music.Closes;
    Run(window, [&](TdlgOptions& dialog) {
        EXPECT_GT(table.Music.Closes, closes) << "the music stops while the dialog is open";
        Page(dialog, TdlgOptions::TabMusic);
        EXPECT_TRUE(dialog.CheckBox1()->isChecked());
        Cancel(dialog);
    });
    EXPECT_THAT(table.Music.Opened, ElementsAre(first.fileName(), first.fileName()));
    EXPECT_EQ(table.Music.Plays, 2);

    Run(window, [&](TdlgOptions& dialog) {
        Page(dialog, TdlgOptions::TabMusic);
        QTest::mouseClick(dialog.CheckBox1(), Qt::LeftButton);
        Ok(dialog);
    });
    EXPECT_FALSE(window.Music().MusicOn);
    EXPECT_EQ(table.Music.Plays, 2) << "switched off: nothing starts";
}

TEST_F(OptDialog, OpensDuringARunningGameAndTheGameGoesOn)
{
    TTableHarness computers(AllComputer);
    TfrmMain& window = computers.Open(3, 2);
    QSignalSpy scored(&window, &TfrmMain::handScored);
    bool opened = false;
    computers.Prompts.OnDialog = [&](QDialog& dialog) {
        opened = true;
        dialog.show();
        // A real dialog runs its own loop; the game holds still inside it.
        QTest::qWait(300);
        EXPECT_TRUE(scored.isEmpty()) << "the hand went on while the dialog was open";
        dialog.reject();
        return dialog.result();
    };
    window.Steps().Request(TTableRequest::NewGame);
    window.Steps().Request(TTableRequest::Preferences);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !scored.isEmpty(); }, 30000)) << "the game went on after the dialog";
}

}  // namespace

#include "OptDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <exception>

#include "CardDeck.h"
#include "Cmpint32.h"
#include "DeckChooser.h"
#include "Defaults.h"
#include "RegErrors.h"
#include "FluidPlayer.h"
#include "MusicSequencer.h"
#include "PathLabel.h"
#include "Shape.h"
#include "SongFile.h"
#include "PlayerU.h"
#include "PreferencesPrompts.h"
#include "RulesPage.h"

namespace spades {

TdlgOptions::TdlgOptions(TPreferencesHost& owner, TMediaPlayer* previewPlayer)
    : QDialog(owner.DialogOwner()), FOwner(owner)
{
    setObjectName("dlgOptions");
    setWindowTitle("Preferences");
    setFixedSize(327, 326);
    QFont small("MS Sans Serif");
    small.setPointSize(8);
    setFont(small);

    if (previewPlayer) {
        FPreviewPlayer = previewPlayer;
    } else {
        FOwnPreview = std::make_unique<TFluidPlayer>(owner.MusicEngine());
        FPreviewPlayer = FOwnPreview.get();
    }
    FPreviewPlayer->setObjectName("MediaPlayer2");

    FPages = new QTabWidget(this);
    FPages->setObjectName("pgeOptions");
    FPages->setGeometry(0, 0, 327, 257);
    FPages->setUsesScrollButtons(false);
    // Six page names in the dialog's width: a point smaller than the pages' text.
    QFont tabs = small;
    tabs.setPointSize(7);
    FPages->tabBar()->setFont(tabs);
    FPages->addTab(CreateGeneralPage(), "General");
    FPages->addTab(CreateTablePage(), "Appearance");
    FPages->addTab(CreateCardsPage(), "Cards");
    FPages->addTab(CreatePlayersPage(), "Players");
    FPages->addTab(CreateMusicPage(), "Music");
    FRulesPage = new TRulesPage([this](const TRuleSet& rules) { Defaults().SetRules(rules); });
    FPages->addTab(FRulesPage, "Rules");
    connect(FPages, &QTabWidget::currentChanged, this, &TdlgOptions::pgeOptionsChange);

    FOk = new QPushButton("OK", this);
    FOk->setObjectName("btnOk");
    FOk->setGeometry(160, 280, 75, 25);
    FOk->setDefault(true);
    connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
    FCancel = new QPushButton("Cancel", this);
    FCancel->setObjectName("btnCancel");
    FCancel->setGeometry(244, 280, 75, 25);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { FOwner.ShowPreferencesHelp(); });

    FormCreate();
}

TdlgOptions::~TdlgOptions()
{
    FormClose();
}

TDefaults& TdlgOptions::Defaults() const { return *FOwner.GameDefaults(); }
TMusicSettings& TdlgOptions::Music() const { return FOwner.Music(); }
TTableState& TdlgOptions::Table() const { return FOwner.Table(); }
TPreferencesPrompts& TdlgOptions::Prompts() const { return FOwner.Prompts(); }


// ---- Events -----------------------------------------------------------------------------------------

void TdlgOptions::FormCreate()
{
    for (int slot = 0; slot < TMusicSettings::SlotCount; ++slot)
        ShowSong(slot);
    FMusicOn->setChecked(Music().MusicOn);
}

void TdlgOptions::ShowSong(int slot)
{
    const QString& path = Music().Songs[static_cast<size_t>(slot)];
    QLabel* panel = FPanels[static_cast<size_t>(slot)];
    panel->setText(path.isEmpty() ? QString(NoSong) : path);
    panel->setToolTip(path.isEmpty() ? QString(NoSongHint) : path);
}

void TdlgOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TdlgOptions::FormShow()
{
    FPages->blockSignals(true);
    FPages->setCurrentIndex(tabGeneral);
    FPages->blockSignals(false);
    FPage = tabGeneral;
    tabGeneralEnter();
}

void TdlgOptions::FocusFirstControl(int page)
{
    switch (page) {
    case tabGeneral:
        FSpeed->setFocus();
        break;
    case tabPlayers:
        FPlayers->setFocus();
        break;
    case TabMusic:
        FChoose[0]->setFocus();
        break;
    case tabRules:
        FRulesPage->Choice(0)->setFocus();
        break;
    default:
        FPages->widget(page)->setFocus();
        break;
    }
}

void TdlgOptions::pgeOptionsChange(int page)
{
    // Leaving a page runs its exit handler, entering one fills it.
    if (FPage == tabGeneral)
        tabGeneralExit();
    if (FNameEdited)
        edtPlayerNameExit();
    FPage = page;
    switch (page) {
    case tabGeneral:
        tabGeneralEnter();
        break;
    case tabTable:
        tabTableEnter();
        break;
    case tabCards:
        tabCardsEnter();
        break;
    case tabPlayers:
        tabPlayersEnter();
        break;
    case tabRules:
        FRulesPage->Show(Defaults().Rules());
        break;
    default:
        break;
    }
    FocusFirstControl(page);
}

void TdlgOptions::tabGeneralEnter()
{
    const int speed = Defaults().Speed();
    if (speed >= 0 && speed <= 3)
        FSpeed->setCurrentIndex(speed);
    if (Defaults().WinScore() == 250)
        FScore[0]->setChecked(true);
    else if (Defaults().WinScore() == 500)
        FScore[1]->setChecked(true);
    FMarkPlayable->setChecked(Defaults().MarkPlayable());
    FAnimateCards->setChecked(Defaults().AnimateCards());
    FRefusalsOnTable->setChecked(Defaults().RefusalsOnTable());
    FSoundNoticeOnTable->setChecked(Defaults().SoundNoticeOnTable());
    FCheckPlays->setChecked(Defaults().CheckPlays());
    FocusFirstControl(tabGeneral);
}

void TdlgOptions::tabGeneralExit()
{
    const int speed = FSpeed->currentIndex();
    if (speed >= 0 && speed <= 3)
        Defaults().SetSpeed(static_cast<uint8_t>(speed));
    if (FScore[0]->isChecked())
        Defaults().SetWinScore(250);
    else if (FScore[1]->isChecked())
        Defaults().SetWinScore(500);
    Defaults().SetMarkPlayable(FMarkPlayable->isChecked());
    Defaults().SetAnimateCards(FAnimateCards->isChecked());
    Defaults().SetRefusalsOnTable(FRefusalsOnTable->isChecked());
    Defaults().SetSoundNoticeOnTable(FSoundNoticeOnTable->isChecked());
    Defaults().SetCheckPlays(FCheckPlays->isChecked());
}

void TdlgOptions::tabTableEnter()
{
    QImage bitmap;
    for (QLabel* image : FSurfaces) {
        try {
            LoadCompressedBitmap(image->objectName(), bitmap);
            image->setPixmap(QPixmap::fromImage(bitmap.copy(0, 0, 50, 50)));
        } catch (const std::exception& error) {
            Prompts().Notice(TNoticeKind::Error, ErrorMessage(error));
        }
    }
    FDeckChooser->Select(Defaults().CardDeck());
    // A stored surface the game does not know marks none.
    FSurfaceFrame->hide();
    for (QLabel* image : FSurfaces)
        if (image->objectName() == Defaults().Table())
            MoveFrame(*FSurfaceFrame, *image);
}

void TdlgOptions::ImageClick(QLabel& image)
{
    Defaults().SetTable(image.objectName().mid(4));
    MoveFrame(*FSurfaceFrame, image);
}

void TdlgOptions::MoveFrame(TShape& frame, const QWidget& target)
{
    frame.move(target.x() - 2, target.y() - 2);
    frame.show();
    frame.raise();
}

void TdlgOptions::tabCardsEnter()
{
    FBackFrame->hide();
    for (TCardDeck* card : FBacks) {
        card->SetVisible(true);
        const int back = card->objectName().mid(8, 1).toInt();
        if (back + 53 == Defaults().CardBack())
            MoveFrame(*FBackFrame, *card);
    }
}

void TdlgOptions::CardClick(TCardDeck& card)
{
    MoveFrame(*FBackFrame, card);
    Defaults().SetCardBack(static_cast<uint8_t>(card.objectName().mid(8, 1).toInt()));
}

void TdlgOptions::tabPlayersEnter()
{
    FPlayers->clear();
    for (int seat = North; seat <= West; ++seat)
        FPlayers->addItem(QString::fromStdString(Table().Player(seat).FName));
    FPlayers->setCurrentIndex(0);
    cbxPlayersChange();
    FPlayers->setFocus();
}

void TdlgOptions::cbxPlayersChange()
{
    const int row = FPlayers->currentIndex();
    if (row < 0)
        return;
    // The rows keep the names they had when the page was entered.
    FName->setText(FPlayers->itemText(row));
    FNameEdited = false;
    static constexpr std::array<const char*, 4> seatNames = {"North", "East", "South", "West"};
    FPlayerGroup->setTitle(seatNames[static_cast<size_t>(std::clamp(row, 0, 3))]);
    const uint8_t type = Defaults().GetPlayer(row + 1).PlayerType;
    FType[type == HumanPlayer ? 1 : type == ExpertPlayer ? 2 : 0]->setChecked(true);
}

void TdlgOptions::edtPlayerNameExit()
{
    FNameEdited = false;
    const int row = FPlayers->currentIndex();
    if (row < 0)
        return;
    Defaults().SetPlayerName(row + 1, FName->text());
    Table().Player(row + 1).SetName(FName->text().toStdString());
}

void TdlgOptions::rgpPlayerTypeClick(int index)
{
    const int row = FPlayers->currentIndex();
    if (row < 0)
        return;
    const bool human = index == 1;
    const bool expert = index == 2;
    Defaults().SetPlayerType(row + 1, human ? HumanPlayer : expert ? ExpertPlayer : ComputerPlayer);
    Table().Player(row + 1).SetHuman(human);
    Table().Player(row + 1).FExpert = expert;
}

void TdlgOptions::Button1Click(int slot)
{
    const std::optional<QString> chosen = Prompts().ChooseSongFile(FInitialFolder, SongFilter);
    // Cancelling the chooser empties the slot.
    Music().SetSong(slot, chosen.value_or(QString()));
    ShowSong(slot);
}

void TdlgOptions::Button9Click(int slot)
{
    FPreviewPlayer->Close();
    const QString path = Music().Songs[static_cast<size_t>(slot)];
    if (!SongFileExists(path)) {
        Prompts().Notice(TNoticeKind::Warning, "Could not find " + QFileInfo(path).fileName() +
                                                   ".  Please choose a valid MIDI file.");
        return;
    }
    try {
        FPreviewPlayer->SetFileName(path);
        FPreviewPlayer->Open();
        FPreviewPlayer->Play();
    } catch (const std::exception& error) {
        Prompts().Notice(TNoticeKind::Error, ErrorMessage(error));
    }
}

void TdlgOptions::CheckBox1Click(bool checked) { Music().MusicOn = checked; }

bool TdlgOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FName && event->type() == QEvent::FocusOut)
        edtPlayerNameExit();
    return QDialog::eventFilter(watched, event);
}

void TdlgOptions::done(int result)
{
    if (result == QDialog::Accepted) {
        // OK leaves the page as a click elsewhere would; Enter moves no focus, so do it here.
        if (FPage == tabGeneral)
            tabGeneralExit();
        if (FNameEdited)
            edtPlayerNameExit();
    }
    QDialog::done(result);
}

void TdlgOptions::closeEvent(QCloseEvent* event)
{
    // Closing through the window frame counts as Cancel.
    QDialog::closeEvent(event);
}

void TdlgOptions::FormClose()
{
    if (FClosed)
        return;
    FClosed = true;
    if (FPreviewPlayer)
        FPreviewPlayer->Close();
}

// ---- The Preferences command ------------------------------------------------------------------------

void RunPreferences(TPreferencesHost& owner)
{
    if (TMusicSequencer* music = owner.Sequencer())
        music->BeforePreferences();
    // A name typed into the dialog reaches the seat at once; Cancel takes it back.
    std::array<std::string, 5> names;
    for (int seat = North; seat <= West; ++seat)
        names[static_cast<size_t>(seat)] = owner.Table().Player(seat).FName;
    int result = QDialog::Rejected;
    {
        TdlgOptions dialog(owner, owner.PreviewPlayer());
        dialog.SetInitialFolder(owner.ProgramFolder());
        result = owner.Prompts().RunDialog(dialog);
    }
    if (result == QDialog::Accepted) {
        try {
            owner.GameDefaults()->Save();
        } catch (const std::exception& error) {
            owner.Prompts().Notice(TNoticeKind::Error,
                                   "Your preferences could not be saved:\r" + ErrorMessage(error));
        }
        owner.ApplyPreferences();
    } else {
        for (int seat = North; seat <= West; ++seat)
            owner.Table().Player(seat).SetName(names[static_cast<size_t>(seat)]);
        owner.ReloadDefaults();
    }
    if (TMusicSequencer* music = owner.Sequencer())
        music->AfterPreferences();
}

}  // namespace spades

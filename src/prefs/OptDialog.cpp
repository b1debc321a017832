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

namespace spades {

namespace {

constexpr std::array<const char*, 4> SurfaceNames = {"IDB_GREENCLOTH", "IDB_MAHOGANY", "IDB_OAK", "IDB_GRANITE"};
constexpr std::array<const char*, 4> SurfaceLabels = {"Green Cloth", "Mohagany", "Oak", "Granite"};
constexpr std::array<QPoint, 4> SurfacePlaces = {QPoint(78, 22), QPoint(230, 22), QPoint(78, 102), QPoint(230, 102)};
constexpr std::array<QPoint, TDefaults::BackCount> BackPlaces = {
    QPoint(36, 24), QPoint(101, 24), QPoint(167, 24), QPoint(232, 24),  // the top row
    QPoint(36, 116), QPoint(101, 116), QPoint(167, 116)};
constexpr const char* NoSong = "<none>";
constexpr const char* NoSongHint = "<no song selected>";

// Clicks on a picture or a card, which have no click of their own.
class TClickLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void(QLabel&)> OnClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
            OnClick(*this);
        QLabel::mouseReleaseEvent(event);
    }
};

}  // namespace

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
    FPages->addTab(CreateGeneralPage(), "General");
    FPages->addTab(CreateTablePage(), "Appearance");
    FPages->addTab(CreateCardsPage(), "Cards");
    FPages->addTab(CreatePlayersPage(), "Players");
    FPages->addTab(CreateMusicPage(), "Music");
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

// ---- Pages ------------------------------------------------------------------------------------------

QWidget* TdlgOptions::CreateGeneralPage()
{
    auto* page = new QWidget;
    page->setObjectName("tabGeneral");
    auto* speedLabel = new QLabel("Play Speed:", page);
    speedLabel->setGeometry(24, 24, 100, 17);
    FSpeed = new QComboBox(page);
    FSpeed->setObjectName("cbxSpeed");
    FSpeed->addItems({"Slow", "Normal", "Fast", "Bullet"});
    FSpeed->setEditable(false);
    FSpeed->setCurrentIndex(-1);
    FSpeed->setGeometry(128, 20, 121, 24);
    speedLabel->setBuddy(FSpeed);

    auto* scoreLabel = new QLabel("Score to Win:", page);
    scoreLabel->setGeometry(24, 72, 100, 17);
    auto* group = new QGroupBox(page);
    group->setObjectName("rgpScore");
    group->setGeometry(128, 60, 121, 72);
    auto* buttons = new QButtonGroup(group);
    for (int i = 0; i < 2; ++i) {
        auto* button = new QRadioButton(i == 0 ? "250" : "500", group);
        button->setGeometry(12, 12 + 26 * i, 90, 22);
        buttons->addButton(button, i);
        FScore[static_cast<size_t>(i)] = button;
    }

    // The play comforts, one under the other.
    int top = 140;
    const auto comfort = [&](const char* text, const char* name) {
        auto* box = new QCheckBox(text, page);
        box->setObjectName(name);
        box->setGeometry(24, top, 280, 20);
        top += 20;
        return box;
    };
    FMarkPlayable = comfort("Mark playable cards", "chkMarkPlayable");
    FAnimateCards = comfort("Animate cards", "chkAnimateCards");
    FRefusalsOnTable = comfort("Show refused plays on the table", "chkRefusalsOnTable");
    FSoundNoticeOnTable = comfort("Show the no-sound notice on the table", "chkSoundNoticeOnTable");
    FCheckPlays = comfort("Check my plays", "chkCheckPlays");
    FCheckPlays->setToolTip("After each of your cards, and after each hand, a note on the table says when a card "
                            "may have cost a trick and what the Expert would have played.");
    return page;
}

QWidget* TdlgOptions::CreateTablePage()
{
    auto* page = new QWidget;
    page->setObjectName("tabTable");
    for (size_t i = 0; i < SurfaceNames.size(); ++i) {
        auto* label = new QLabel(SurfaceLabels[i], page);
        label->setGeometry(SurfacePlaces[i].x() - 72, SurfacePlaces[i].y() + 17, 68, 17);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* image = new TClickLabel(page);
        image->setObjectName(SurfaceNames[i]);
        image->setGeometry(SurfacePlaces[i].x(), SurfacePlaces[i].y(), 50, 50);
        image->setScaledContents(false);
        image->setCursor(Qt::PointingHandCursor);
        image->OnClick = [this](QLabel& clicked) { ImageClick(clicked); };
        FSurfaces[i] = image;
    }
    FSurfaceFrame = new TShape(page);
    FSurfaceFrame->setObjectName("Shape1");
    FSurfaceFrame->resize(54, 54);
    FSurfaceFrame->SetPen(QColor(0xFF, 0xFF, 0x00), 2);
    FSurfaceFrame->SetBrush(std::nullopt);
    FSurfaceFrame->hide();
    // The card faces: ours, or a deck installed on the desktop.
    auto* deckGroup = new QGroupBox("Card deck", page);
    deckGroup->setObjectName("grpDeck");
    deckGroup->setGeometry(8, 164, 305, 54);
    FDeckChooser = new TDeckChooser(deckGroup);
    FDeckChooser->setGeometry(10, 22, 285, 24);
    FDeckChooser->OnChange = [this](const QString& id) { Defaults().SetCardDeck(id); };
    return page;
}

QWidget* TdlgOptions::CreateCardsPage()
{
    auto* page = new QWidget;
    page->setObjectName("tabCards");
    auto* panel = new QFrame(page);
    panel->setObjectName("pnlCards");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(0, 0, 321, 229);
    for (size_t i = 0; i < BackPlaces.size(); ++i) {
        auto* card = new TCardDeck(panel);
        card->setObjectName(QString("CardDeck%1").arg(i + 1));
        card->SetStretch(true);
        card->setGeometry(BackPlaces[i].x(), BackPlaces[i].y(), 51, 76);
        card->SetValue(static_cast<uint8_t>(FirstBackValue + i));
        card->SetVisible(false);
        card->setCursor(Qt::PointingHandCursor);
        card->SetClickHandler([this](TCardDeck& clicked) { CardClick(clicked); });
        FBacks[i] = card;
    }
    FBackFrame = new TShape(panel);
    FBackFrame->setObjectName("shpCardSel");
    FBackFrame->resize(55, 80);
    FBackFrame->SetPen(QColor(0xFF, 0x00, 0xFF), 2);
    FBackFrame->SetBrush(std::nullopt);
    FBackFrame->hide();
    return page;
}

QWidget* TdlgOptions::CreatePlayersPage()
{
    auto* page = new QWidget;
    page->setObjectName("tabPlayers");
    auto* playerLabel = new QLabel("Player:", page);
    playerLabel->setGeometry(24, 20, 60, 17);
    FPlayers = new QComboBox(page);
    FPlayers->setObjectName("cbxPlayers");
    FPlayers->setEditable(false);
    FPlayers->setMaxVisibleItems(4);
    FPlayers->setGeometry(88, 16, 161, 24);
    playerLabel->setBuddy(FPlayers);
    connect(FPlayers, &QComboBox::activated, this, [this] { cbxPlayersChange(); });

    FPlayerGroup = new QGroupBox("North", page);
    FPlayerGroup->setObjectName("grpPlayer1");
    FPlayerGroup->setGeometry(24, 56, 273, 153);
    auto* nameLabel = new QLabel("Name:", FPlayerGroup);
    nameLabel->setGeometry(16, 28, 48, 17);
    FName = new QLineEdit(FPlayerGroup);
    FName->setObjectName("edtPlayerName");
    FName->setGeometry(64, 24, 185, 24);
    FName->installEventFilter(this);
    connect(FName, &QLineEdit::textEdited, this, [this] { FNameEdited = true; });
    nameLabel->setBuddy(FName);
    auto* typeLabel = new QLabel("Type:", FPlayerGroup);
    typeLabel->setGeometry(16, 68, 48, 17);
    auto* types = new QGroupBox(FPlayerGroup);
    types->setObjectName("rgpPlayerType");
    types->setGeometry(64, 60, 185, 76);
    auto* group = new QButtonGroup(types);
    static constexpr std::array<const char*, 3> typeNames = {"Computer", "Human", "Expert"};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(typeNames[static_cast<size_t>(i)], types);
        button->setGeometry(12, 8 + 22 * i, 150, 22);
        group->addButton(button, i);
        FType[static_cast<size_t>(i)] = button;
    }
    connect(group, &QButtonGroup::idClicked, this, &TdlgOptions::rgpPlayerTypeClick);
    return page;
}

QWidget* TdlgOptions::CreateMusicPage()
{
    auto* page = new QWidget;
    page->setObjectName("TabMusic");
    for (int slot = 0; slot < TMusicSettings::SlotCount; ++slot) {
        const int top = 16 + 24 * slot;
        auto* choose = new QPushButton(QString("Song %1:").arg(slot + 1), page);
        choose->setObjectName(QString("Button%1").arg(slot + 1));
        choose->setProperty("tag", slot);
        choose->setGeometry(8, top, 49, 17);
        connect(choose, &QPushButton::clicked, this, [this, slot] { Button1Click(slot); });
        FChoose[static_cast<size_t>(slot)] = choose;

        auto* panel = new TPathLabel(NoSong, page);
        panel->setObjectName(QString("Panel%1").arg(slot + 1));
        panel->setGeometry(64, top, 177, 17);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setToolTip(NoSongHint);
        FPanels[static_cast<size_t>(slot)] = panel;

        auto* preview = new QPushButton("Preview", page);
        preview->setObjectName(QString("Button%1").arg(slot + 9));
        preview->setProperty("tag", slot);
        preview->setGeometry(246, top, 65, 17);
        connect(preview, &QPushButton::clicked, this, [this, slot] { Button9Click(slot); });
        FPreview[static_cast<size_t>(slot)] = preview;
    }
    FMusicOn = new QCheckBox("Music On", page);
    FMusicOn->setObjectName("CheckBox1");
    FMusicOn->setGeometry(239, 210, 80, 17);
    connect(FMusicOn, &QCheckBox::clicked, this, &TdlgOptions::CheckBox1Click);
    return page;
}

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

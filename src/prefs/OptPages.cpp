// The preferences dialog's five pages, laid out as the table has always shown them.
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

    // The play comforts, one under the other, close enough for all five to fit the page.
    int top = 134;
    const auto comfort = [&](const char* text, const char* name) {
        auto* box = new QCheckBox(text, page);
        box->setObjectName(name);
        box->setGeometry(24, top, 280, 19);
        top += 19;
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


}  // namespace spades

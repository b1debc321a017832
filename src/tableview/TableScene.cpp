#include "TableScene.h"

#include "StopPicture.h"

#include <QApplication>
#include <QFontMetrics>
#include <QEvent>
#include <QHeaderView>
#include <QIcon>
#include <QToolButton>

#include <cmath>

#include "CardDeck.h"
#include "CardRender.h"
#include "ExtListView.h"
#include "LblEffct.h"
#include "Shape.h"
#include "Tilemap.h"

namespace spades {

// ---- The hand cards as the seats see them: placed in table coordinates ----------------------------

class TTableScene::TSceneCard : public TCardControl {
public:
    TSceneCard(TTableScene& scene, TCardDeck& card) : FScene(scene), FCard(&card) {}
    std::string Name() const override { return FCard->objectName().toStdString(); }
    int Value() const override { return FCard->Value(); }
    void SetValue(int value) override { FCard->SetValue(static_cast<uint8_t>(value)); }
    void SetVisible(bool visible) override { FCard->SetVisible(visible); }
    void MoveTo(int left, int top) override
    {
        // Where it is seen now, which may be lifted out of the fan.
        const QRectF from(FScene.ToTable(FCard->pos()), QSizeF(FCard->size()) / FScene.Scale());
        FScene.Move(*FCard, {left, top});
        if (FScene.CardMoved)
            FScene.CardMoved(*FCard, from);
    }
    void BringToFront() override { FCard->raise(); }
    void ClearClickHandler() override { FCard->ClearClickHandler(); }
    void LayOut(const TCardRect& bounds, int value) override
    {
        FCard->ClearClickHandler();
        FScene.Place(*FCard, QRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height));
        FCard->SetValue(static_cast<uint8_t>(value));
        FCard->SetVisible(true);
        FCard->raise();
    }

private:
    TTableScene& FScene;
    TCardDeck* FCard;
};

namespace {

constexpr std::array<QRect, 5> SeatLabelPlaces = {
    {{0, 0, 0, 0}, {352, 6, 169, 33}, {609, 142, 97, 33}, {352, 318, 137, 33}, {88, 142, 97, 33}}};
constexpr std::array<QRect, 5> TrickPilePlaces = {
    {{0, 0, 0, 0}, {204, 40, 43, 58}, {712, 112, 43, 58}, {214, 391, 43, 58}, {12, 112, 43, 58}}};
constexpr std::array<const char*, 5> SeatNames = {"", "North", "East", "South", "West"};
constexpr QRect PlayAreaPlace(246, 166, 269, 133);
constexpr QRect WaitForPlace(8, 8, 257, 33);
constexpr QRect WhoWonPlace(584, 6, 175, 33);
constexpr QRect PromptPlace(296, 414, 449, 33);
constexpr QRect NoticePlace(8, 299, 753, 18);  // between the side fans and South's name
constexpr QRect BidsPlace(4, 367, 200, 90);
constexpr int BidRowHeight = 17;
constexpr QRect BidsWithSidesPlace = BidsPlace.adjusted(0, -2 * BidRowHeight, 0, 0);
constexpr QRect StopPlace(716, 408, 50, 50);
constexpr int StopIcon = 32;
constexpr int RestAfterResize = 150;  // ms without a new size
constexpr const char* StartPrompt = "Press the F2 key to start a game";

QFont SerifFont(int pixels, bool italic = false)
{
    QFont font("Times New Roman");
    font.setPixelSize(pixels);
    font.setItalic(italic);
    return font;
}

QFont Scaled(const QFont& base, qreal scale)
{
    QFont font = base;
    if (base.pixelSize() > 0)
        font.setPixelSize(std::max(1, static_cast<int>(std::lround(base.pixelSize() * scale))));
    else if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF() * scale);
    return font;
}

}  // namespace

void KeepOwnPalette(QWidget& widget)
{
    QPalette own = QApplication::palette(&widget);
    own.setResolveMask(~QPalette::ResolveMask(0));
    widget.setPalette(own);
}

// ---- Creation ------------------------------------------------------------------------------------

TTableScene::TTableScene(TTiledBitmap& surface) : QObject(&surface), FSurface(surface)
{
    FResting.setSingleShot(true);
    FResting.setInterval(RestAfterResize);
    connect(&FResting, &QTimer::timeout, this, &TTableScene::ResizeRested);
    CreateControls();
    FSurface.installEventFilter(this);
    Relayout();
}

TTableScene::~TTableScene() = default;

void TTableScene::CreateControls()
{
    shpPlay = new TShape(&FSurface);
    shpPlay->setObjectName("shpPlay");
    shpPlay->SetShape(TShape::TKind::RoundRect);
    shpPlay->SetBrush(QColor(0x00, 0x80, 0x00));
    shpPlay->SetPen(Qt::black, 1);
    Place(*shpPlay, PlayAreaPlace);

    for (int seat = North; seat <= West; ++seat) {
        auto* label = new TLabelEffect(&FSurface);
        label->setObjectName(QString("lblPlayer%1").arg(seat));
        label->setFont(SerifFont(27));
        label->SetFontColour(QColor(0x80, 0x80, 0x80));
        label->SetCaption(SeatNames[static_cast<size_t>(seat)]);
        Place(*label, SeatLabelPlaces[static_cast<size_t>(seat)]);
        lblPlayer[static_cast<size_t>(seat)] = label;
    }

    lblWaitFor = new TLabelEffect(&FSurface);
    lblWaitFor->setObjectName("lblWaitFor");
    lblWaitFor->setFont(SerifFont(21, true));
    lblWaitFor->SetFontColour(QColor(0xC0, 0xC0, 0xC0));
    Place(*lblWaitFor, WaitForPlace);

    lblWhoWon = new TLabelEffect(&FSurface);
    lblWhoWon->setObjectName("lblWhoWon");
    lblWhoWon->setFont(SerifFont(21));
    lblWhoWon->SetFontColour(QColor(0xFF, 0xFF, 0x00));
    lblWhoWon->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Place(*lblWhoWon, WhoWonPlace);

    LabelEffect1 = new TLabelEffect(&FSurface);
    LabelEffect1->setObjectName("LabelEffect1");
    LabelEffect1->setFont(SerifFont(27));
    LabelEffect1->SetFontColour(QColor(0xFF, 0xFF, 0x00));
    LabelEffect1->setAlignment(Qt::AlignRight | Qt::AlignTop);
    LabelEffect1->SetCaption(StartPrompt);
    Place(*LabelEffect1, PromptPlace);

    lblNotice = new TLabelEffect(&FSurface);
    lblNotice->setObjectName("lblNotice");
    lblNotice->setFont(SerifFont(15, true));
    lblNotice->SetFontColour(QColor(0xFF, 0xFF, 0xFF));
    lblNotice->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Place(*lblNotice, NoticePlace);

    lvwBids = new TExtListView(&FSurface);
    lvwBids->setObjectName("lvwBids");
    KeepOwnPalette(*lvwBids);
    ConfigureBidsTable(*lvwBids);
    for (int column = 0; column < lvwBids->ColumnCount(); ++column)
        FBidColumns.push_back(lvwBids->horizontalHeader()->sectionSize(column));
    Place(*lvwBids, BidsPlace);

    btnInterrupt = new QToolButton(&FSurface);
    btnInterrupt->setObjectName("btnInterrupt");
    KeepOwnPalette(*btnInterrupt);
    btnInterrupt->setToolTip("Click to Stop.");
    btnInterrupt->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    btnInterrupt->setFocusPolicy(Qt::NoFocus);
    btnInterrupt->hide();
    Place(*btnInterrupt, StopPlace);

    for (int seat = North; seat <= West; ++seat) {
        auto* pile = new TCardDeck(&FSurface);
        pile->setObjectName(QString("crdStack%1").arg(seat));
        pile->SetStretch(true);
        pile->SetVisible(false);
        Place(*pile, TrickPilePlaces[static_cast<size_t>(seat)]);
        crdStack[static_cast<size_t>(seat)] = pile;
    }

    for (int seat = North; seat <= West; ++seat) {
        const QRect& label = SeatLabelPlaces[static_cast<size_t>(seat)];
        for (int slot = 1; slot <= 13; ++slot) {
            auto* card = new TCardDeck(&FSurface);
            const std::string_view name = TCardName(seat, slot).View();
            card->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
            card->SetVisible(false);
            Place(*card, QRect(label.left(), label.top() + 44, CardWidth, CardHeight));
            FCards.emplace(card, std::make_unique<TSceneCard>(*this, *card));
            card->installEventFilter(this);
        }
    }
    for (TLabelEffect* text : Texts())
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
    RaiseTexts();
}

std::array<TLabelEffect*, 4> TTableScene::Texts() const
{
    return {LabelEffect1, lblWaitFor, lblWhoWon, lblNotice};
}

void TTableScene::RaiseTexts()
{
    for (TLabelEffect* text : Texts())
        text->raise();
}

// ---- Seat names ---------------------------------------------------------------------------------------

namespace {

// The widest text of `text` that fits `width` at the label's own (unscaled) font.
QString Fitted(const QFont& font, const QString& text, int width)
{
    return QFontMetrics(font).elidedText(text, Qt::ElideRight, width);
}

constexpr int ReliefRoom = 4;  // the shadow and highlight copies stand out a little

}  // namespace

void TTableScene::ShowFitted(TLabelEffect& label, const QString& text)
{
    const QString shown = Fitted(FFonts.at(&label), text, TableRect(label).width() - ReliefRoom);
    label.SetCaption(shown);
    label.setToolTip(shown == text ? QString() : text);
}

void TTableScene::SetSeatName(int seat, const QString& name)
{
    if (seat < North || seat > West)
        return;
    FSeatNames[static_cast<size_t>(seat)] = name;
    ShowFitted(*lblPlayer[static_cast<size_t>(seat)], name);
}

void TTableScene::SetNotice(const QString& text)
{
    ShowFitted(*lblNotice, text);
}

QString TTableScene::SeatName(int seat) const
{
    if (seat < North || seat > West)
        return {};
    const TLabelEffect& label = *lblPlayer[static_cast<size_t>(seat)];
    const QString& name = FSeatNames[static_cast<size_t>(seat)];
    const bool ours = !name.isEmpty() && (label.Caption() == name || label.toolTip() == name);
    return ours ? name : label.Caption();
}

QString TTableScene::WinnerCaption(int seat) const
{
    const QString won = QStringLiteral(" Won");
    const QFont& font = FFonts.at(lblWhoWon);
    const int room = TableRect(*lblWhoWon).width() - ReliefRoom - QFontMetrics(font).horizontalAdvance(won);
    return Fitted(font, SeatName(seat), room) + won;
}

void TTableScene::SetStopPicture(const QImage& picture)
{
    FStopPicture = ClearGround(picture);
    Apply(*btnInterrupt);
}

void TTableScene::SetBidRows(bool withSides)
{
    Place(*lvwBids, withSides ? BidsWithSidesPlace : BidsPlace);
}

void TTableScene::SetBidColumns(std::initializer_list<TListColumn> columns)
{
    lvwBids->SetColumns(columns);
    FBidColumns.clear();
    for (const TListColumn& column : columns)
        FBidColumns.push_back(column.Width);
    Apply(*lvwBids);
}

// ---- Lookup ---------------------------------------------------------------------------------------

TCardDeck* TTableScene::Card(const QString& name) const
{
    return FSurface.findChild<TCardDeck*>(name, Qt::FindDirectChildrenOnly);
}

TCardControl* TTableScene::FindCard(std::string_view name) const
{
    TCardDeck* card = Card(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (!card)
        return nullptr;
    const auto found = FCards.find(card);
    return found == FCards.end() ? nullptr : found->second.get();
}

void TTableScene::ForEachCard(const std::function<void(const TCardDeck&, TCardControl&)>& visit) const
{
    for (const auto& [card, control] : FCards)
        visit(*card, *control);
}

// ---- Coordinates ----------------------------------------------------------------------------------

QRect TTableScene::ToWindow(const QRect& table) const
{
    // Edges are mapped, not sizes, so that controls that meet on the table still meet.
    const auto x = [this](qreal v) { return static_cast<int>(std::lround(FOrigin.x() + v * FScale)); };
    const auto y = [this](qreal v) { return static_cast<int>(std::lround(FOrigin.y() + v * FScale)); };
    const int left = x(table.left()), top = y(table.top());
    return QRect(left, top, x(table.left() + table.width()) - left, y(table.top() + table.height()) - top);
}

QPointF TTableScene::ToWindow(QPointF table) const { return FOrigin + table * FScale; }

QPointF TTableScene::ToTable(QPointF window) const { return (window - FOrigin) / FScale; }

QRect TTableScene::TableRect(const QWidget& control) const
{
    const auto found = FPlaces.find(&control);
    return found == FPlaces.end() ? QRect() : found->second;
}

void TTableScene::Place(QWidget& control, const QRect& table)
{
    FPlaces[&control] = table;
    if (!qobject_cast<TCardDeck*>(&control) && !FFonts.count(&control))
        FFonts.emplace(&control, control.font());
    Apply(control);
}

void TTableScene::Move(QWidget& control, QPoint tableTopLeft)
{
    QRect table = TableRect(control);
    if (table.isNull())
        table = QRect(QPoint(), control.size());
    table.moveTopLeft(tableTopLeft);
    Place(control, table);
}

QWidget* TTableScene::HitTest(QPointF table) const
{
    // The stacking order is the drawing order: the last child drawn is on top.
    const QObjectList& children = FSurface.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        auto* control = qobject_cast<QWidget*>(*it);
        if (!control || !control->isVisible() || control->testAttribute(Qt::WA_TransparentForMouseEvents))
            continue;
        const QRect place = TableRect(*control);
        if (!place.isNull() && QRectF(place).contains(table))
            return control;
    }
    return nullptr;
}

void TTableScene::Apply(QWidget& control)
{
    control.setGeometry(ToWindow(FPlaces[&control]));
    if (const auto font = FFonts.find(&control); font != FFonts.end())
        control.setFont(Scaled(font->second, FScale));
    if (&control == lvwBids) {
        QHeaderView* header = lvwBids->horizontalHeader();
        header->setFont(lvwBids->font());
        for (size_t column = 0; column < FBidColumns.size(); ++column)
            header->resizeSection(static_cast<int>(column), static_cast<int>(std::lround(FBidColumns[column] * FScale)));
        lvwBids->verticalHeader()->setDefaultSectionSize(lvwBids->fontMetrics().height() + 2);
        header->setFixedHeight(lvwBids->fontMetrics().height() + 4);
    } else if (&control == btnInterrupt) {
        const int icon = static_cast<int>(std::lround(StopIcon * FScale));
        btnInterrupt->setIconSize(QSize(icon, icon));
        if (!FStopPicture.isNull()) {
            // Drawn for the device's pixels: an icon never grows a picture by itself.
            const qreal ratio = btnInterrupt->devicePixelRatioF();
            const int device = static_cast<int>(std::lround(icon * ratio));
            // The built-in bitmap at its own size; any other size drawn afresh.
            QPixmap picture = FStopPicture.size() == QSize(device, device)
                                  ? QPixmap::fromImage(FStopPicture)
                                  : QPixmap::fromImage(StopPicture(device));
            picture.setDevicePixelRatio(ratio);
            btnInterrupt->setIcon(QIcon(picture));
        }
    }
}

void TTableScene::Relayout()
{
    const QSizeF room = FSurface.size();
    FScale = std::max(0.01, std::min(room.width() / Width, room.height() / Height));
    FOrigin = QPointF((room.width() - Width * FScale) / 2, (room.height() - Height * FScale) / 2);
    FSurface.SetTileScale(FScale);
    for (auto& [control, place] : FPlaces)
        Apply(const_cast<QWidget&>(*control));
}

bool TTableScene::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ZOrderChange && watched != &FSurface && qobject_cast<TCardDeck*>(watched))
        RaiseTexts();
    if (watched == &FSurface && event->type() == QEvent::Resize) {
        // Quick frames while the size keeps changing; sharp ones once it rests.
        if (FSurface.isVisible()) {
            SetLiveResize(true);
            FResting.start();
        }
        Relayout();
    }
    return QObject::eventFilter(watched, event);
}

void TTableScene::ResizeRested()
{
    SetLiveResize(false);
    FSurface.update();
}

}  // namespace spades

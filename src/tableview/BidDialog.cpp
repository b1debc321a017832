#include "BidDialog.h"
#include "BidKeys.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>

namespace spades {

class TShadowLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font());
        const QRect area = contentsRect();
        painter.setPen(QColor(0x80, 0x00, 0x00));  // maroon
        painter.drawText(area.translated(1, 1), Qt::AlignCenter | Qt::TextSingleLine, text());
        painter.setPen(QColor(0xFF, 0x00, 0x00));
        painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, text());
    }
};

namespace {
struct TButtonPlace {
    int value, left, top;
};
constexpr std::array<TButtonPlace, 14> ButtonPlaces = {{
    {1, 22, 37}, {2, 50, 37}, {3, 78, 37}, {4, 106, 37}, {5, 134, 37}, {6, 162, 37}, {7, 190, 37},
    {8, 22, 69}, {9, 50, 69}, {10, 78, 69}, {11, 106, 69}, {12, 134, 69}, {13, 162, 69}, {0, 190, 69},
}};
}  // namespace

TdlgBid::TdlgBid(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("dlgBid");
    setWindowTitle("Bid");
    setFixedSize(238, 184);
    QFont bold("MS Sans Serif");
    bold.setPointSize(8);
    bold.setBold(true);
    setFont(bold);

    FPanel = new QFrame(this);
    FPanel->setObjectName("pnlBid");
    FPanel->setGeometry(0, 0, 238, 145);
    FPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FPanel->setLineWidth(2);

    FLabel = new TShadowLabel(FPanel);
    FLabel->setObjectName("lblBidPlayer");
    FLabel->setGeometry(2, 2, 234, 25);
    FLabel->setTextFormat(Qt::PlainText);
    QFont labelFont("MS Sans Serif");
    labelFont.setPointSize(10);
    labelFont.setBold(true);
    FLabel->setFont(labelFont);
    FLabel->setAttribute(Qt::WA_TranslucentBackground);

    FGroup = new QButtonGroup(this);
    FGroup->setExclusive(true);
    for (const auto& place : ButtonPlaces) {
        auto* button = new QPushButton(place.value == 0 ? QString("Nil") : QString::number(place.value), FPanel);
        button->setObjectName(QString("Button%1").arg(place.value));
        button->setCheckable(true);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);  // the arrow keys belong to the number
        button->setGeometry(place.left, place.top, 25, 25);
        FGroup->addButton(button, place.value);
        FButtons[static_cast<size_t>(place.value)] = button;
    }
    connect(FGroup, &QButtonGroup::buttonClicked, this, &TdlgBid::BidClick);
    // A screen reader's toggle checks a button without clicking it: the bid follows.
    connect(FGroup, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* button, bool checked) {
        if (checked)
            BidClick(button);
    });

    FEdit = new QSpinBox(FPanel);
    FEdit->setObjectName("edtBid");
    FEdit->setGeometry(93, 108, 51, 21);
    FEdit->setRange(0, 13);
    FEdit->setSingleStep(1);
    FEdit->setValue(1);
    connect(FEdit, &QSpinBox::textChanged, this, &TdlgBid::edtBidChange);
    new TBidKeys(*FEdit);

    FOk = new QPushButton("OK", this);
    FOk->setObjectName("OKBtn");
    FOk->setGeometry(81, 152, 75, 25);
    FOk->setDefault(true);
    connect(FOk, &QPushButton::clicked, this, &TdlgBid::OKBtnClick);

    FSuggest = new QPushButton("Suggest", FPanel);
    FSuggest->setObjectName("btnSuggest");
    FSuggest->setGeometry(156, 106, 68, 25);
    FSuggest->setAutoDefault(false);
    FSuggest->hide();
    connect(FSuggest, &QPushButton::clicked, this, [this] {
        if (FSuggestion)
            FEdit->setValue(FSuggestion());
    });
}

void TdlgBid::SetSuggestion(std::function<int()> suggest)
{
    FSuggestion = std::move(suggest);
    FSuggest->setVisible(static_cast<bool>(FSuggestion));
}

void TdlgBid::SetChoices(unsigned bids, const QString& note)
{
    FChoices = bids;
    for (int value = 0; value <= 13; ++value)
        FButtons[static_cast<size_t>(value)]->setEnabled((bids >> value) & 1u);
    if (note.isEmpty())
        return;
    if (!FNote) {
        // Room for one line under the panel.
        setFixedSize(238, 202);
        FNote = new QLabel(this);
        FNote->setObjectName("lblBidRule");
        FNote->setGeometry(4, 147, 230, 17);
        FNote->setAlignment(Qt::AlignCenter);
        FOk->move(81, 170);
    }
    FNote->setText(note);
    setAccessibleDescription(note);
}

void TdlgBid::SetPlayerCaption(const QString& caption) { FLabel->setText(caption); }
QString TdlgBid::PlayerCaption() const { return FLabel->text(); }

QAbstractButton* TdlgBid::Button(int value) const
{
    return value >= 0 && value <= 13 ? FButtons[static_cast<size_t>(value)] : nullptr;
}

void TdlgBid::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TdlgBid::FormShow()
{
    // The lowest bid of one or more the rules leave; Nil only when nothing else is left.
    int first = 1;
    while (first <= 13 && !((FChoices >> first) & 1u))
        ++first;
    if (first > 13)
        first = 0;
    FEdit->setValue(first);
    FButtons[static_cast<size_t>(first)]->setChecked(true);
    FOk->setEnabled((FChoices >> first) & 1u);
    FEdit->setFocus();
}

void TdlgBid::BidClick(QAbstractButton* button)
{
    FEdit->setValue(button->text() == "Nil" ? 0 : button->text().toInt());
}

void TdlgBid::edtBidChange(const QString& text)
{
    // Text that names no button (an empty field while typing) leaves the buttons as they are.
    if (auto* button = FPanel->findChild<QAbstractButton*>("Button" + text, Qt::FindDirectChildrenOnly))
        button->setChecked(true);
    bool number = false;
    const int value = text.toInt(&number);
    FOk->setEnabled(!number || (value >= 0 && value <= 13 && ((FChoices >> value) & 1u)));
}

void TdlgBid::OKBtnClick()
{
    // The spin edit keeps its value within 0..13 whatever was typed.
    FEdit->interpretText();
    if (!((FChoices >> FEdit->value()) & 1u))
        return;  // a bid the rules do not allow, typed in
    FBidValue = FEdit->value();
    FClosing = true;
    done(FBidValue + 1);
}

void TdlgBid::closeEvent(QCloseEvent* event)
{
    // Only OK ends the bid: closing by other means would silently bid Nil.
    if (!FClosing)
        event->ignore();
}

void TdlgBid::reject()
{
    // Escape must not end the dialog either; see closeEvent.
}

}  // namespace spades

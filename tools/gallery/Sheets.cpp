#include "Sheets.h"

#include "CardDeck.h"
#include "ExtListView.h"
#include "LblEffct.h"
#include "PlayerU.h"
#include "Tilemap.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <memory>

namespace spades::gallery {

namespace {

constexpr int CardStepX = 76, CardStepY = 102, Margin = 8;

// A felt-like tile with a lighter diagonal, so that the cards' cut corners
// show the surface beneath them.
QImage FeltTile()
{
    QImage tile(16, 16, QImage::Format_RGB32);
    tile.fill(QColor(0x1e, 0x6e, 0x2c));
    for (int i = 0; i < 16; ++i)
        tile.setPixel(i, i, QColor(0x3c, 0x9a, 0x4c).rgb());
    return tile;
}

// Card values by sheet row: the four suits, then the joker and the nine backs.
std::vector<int> RowValues(int row)
{
    std::vector<int> values;
    if (row < 4) {
        for (int rank = 1; rank <= 13; ++rank)
            values.push_back(CardValue(row + 1, rank));
    } else {
        for (int value = JokerValue; value <= LastBackValue; ++value)
            values.push_back(value);
    }
    return values;
}

QImage Grab(QWidget& widget)
{
    widget.show();
    QApplication::processEvents();
    return widget.grab().toImage();
}

// A surface with the given cards laid on it in rows, painted by the controls.
QImage CardsOnSurface(const std::vector<std::vector<int>>& rows)
{
    size_t columns = 0;
    for (const auto& row : rows)
        columns = std::max(columns, row.size());
    QWidget table;
    table.setAttribute(Qt::WA_DontShowOnScreen);
    table.resize(Margin * 2 + static_cast<int>(columns) * CardStepX - 5,
                 Margin * 2 + static_cast<int>(rows.size()) * CardStepY - 6);
    auto* surface = new TTiledBitmap(&table);
    surface->SetFillsParent(true);
    surface->SetBitMap(FeltTile());
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) {
            auto* card = new TCardDeck(&table);
            card->move(Margin + static_cast<int>(c) * CardStepX,
                       Margin + static_cast<int>(r) * CardStepY);
            card->SetValue(static_cast<uint8_t>(rows[r][c]));
            card->SetVisible(true);
        }
    return Grab(table);
}

}  // namespace

QImage CardSheet()
{
    std::vector<std::vector<int>> rows;
    for (int row = 0; row < 5; ++row)
        rows.push_back(RowValues(row));
    return CardsOnSurface(rows);
}

QImage ZoomedCardRow(int row, int zoom)
{
    const std::vector<int> values = RowValues(row);
    const size_t half = (values.size() + 1) / 2;
    const QImage sheet = CardsOnSurface({std::vector<int>(values.begin(), values.begin() + half),
                                         std::vector<int>(values.begin() + half, values.end())});
    return sheet.scaled(sheet.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage CardSheet2x()
{
    const int stepX = CardStepX * 2, stepY = CardStepY * 2;
    QImage sheet(Margin * 2 + 13 * stepX, Margin * 2 + 5 * stepY, QImage::Format_RGB32);
    QPainter painter(&sheet);
    painter.fillRect(sheet.rect(), QBrush(FeltTile().scaled(32, 32)));
    for (int row = 0; row < 5; ++row) {
        const std::vector<int> values = RowValues(row);
        for (size_t c = 0; c < values.size(); ++c) {
            QPixmap card = CardPixmap(static_cast<uint8_t>(values[c]), 2, true);
            card.setDevicePixelRatio(1);
            painter.drawPixmap(Margin + static_cast<int>(c) * stepX, Margin + row * stepY, card);
        }
    }
    return sheet;
}

QImage CourtSheet(int scale, int zoom)
{
    const int stepX = (CardImageWidth + 4) * scale, stepY = (CardImageHeight + 4) * scale;
    QImage sheet(Margin * 2 + 6 * stepX, Margin * 2 + 2 * stepY, QImage::Format_RGB32);
    QPainter painter(&sheet);
    painter.fillRect(sheet.rect(), QBrush(FeltTile().scaled(16 * scale, 16 * scale)));
    for (int suit = 1; suit <= 4; ++suit)
        for (int rank = 11; rank <= 13; ++rank) {
            const int index = (suit - 1) * 3 + (rank - 11);
            QPixmap card = CardPixmap(static_cast<uint8_t>(CardValue(suit, rank)), scale, true);
            card.setDevicePixelRatio(1);
            painter.drawPixmap(Margin + index % 6 * stepX, Margin + index / 6 * stepY, card);
        }
    painter.end();
    return sheet.scaled(sheet.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage LabelSheet()
{
    constexpr int cellW = 200, cellH = 44;
    const std::array styles = {TEffectStyle::esNone, TEffectStyle::esRaised,
                               TEffectStyle::esSunken, TEffectStyle::esShadow,
                               TEffectStyle::esFlying};
    const std::array schemes = {TColourScheme::csText, TColourScheme::csWindows,
                                TColourScheme::csEmbossed, TColourScheme::csGold,
                                TColourScheme::csSteel};
    const std::array<const char*, 5> styleNames = {"None", "Raised", "Sunken", "Shadow",
                                                   "Flying"};
    const std::array<const char*, 5> schemeNames = {"Text", "Windows", "Embossed", "Gold",
                                                    "Steel"};
    QWidget table;
    table.setAttribute(Qt::WA_DontShowOnScreen);
    table.resize(Margin * 2 + static_cast<int>(schemes.size()) * cellW,
                 Margin * 2 + static_cast<int>(styles.size()) * cellH + 190);
    auto* surface = new TTiledBitmap(&table);
    surface->SetFillsParent(true);
    surface->SetBitMap(FeltTile());
    for (size_t s = 0; s < styles.size(); ++s)
        for (size_t k = 0; k < schemes.size(); ++k) {
            auto* label = new TLabelEffect(&table);
            label->SetColourScheme(schemes[k]);
            label->SetEffectStyle(styles[s]);
            label->SetCaption(QStringLiteral("%1 %2").arg(styleNames[s], schemeNames[k]));
            QFont small = label->font();
            small.setPointSize(14);
            label->setFont(small);
            label->setGeometry(Margin + static_cast<int>(k) * cellW,
                               Margin + static_cast<int>(s) * cellH, cellW - 4, cellH - 4);
        }
    // The table's own labels: the prompt at the default size, and turned captions.
    const int y = Margin + static_cast<int>(styles.size()) * cellH + 8;
    auto* prompt = new TLabelEffect(&table);
    prompt->SetCaption(QStringLiteral("Press the F2 key to start a game"));
    prompt->setGeometry(Margin, y, 460, 40);
    int x = Margin + 480;
    for (int angle : {90, 270, 45}) {
        auto* turned = new TLabelEffect(&table);
        turned->SetCaption(QStringLiteral("West"));
        turned->SetAngle(angle);
        turned->SetTransparent(angle != 45);
        turned->SetColor(QColor(0xf0, 0xe0, 0xa0));
        const int side = turned->RotationCentre() * 2;
        turned->setGeometry(x, y, side, side);
        x += side + 20;
    }
    auto* button = new TLabelEffect(&table);
    button->SetCaption(QStringLiteral("&Stop"));
    button->SetAsButton(true);
    button->SetEffectStyle(TEffectStyle::esSunken);
    button->setGeometry(Margin, y + 60, 142, 33);
    return Grab(table);
}

QImage BidsSheet()
{
    QWidget table;
    table.setAttribute(Qt::WA_DontShowOnScreen);
    table.resize(208, 461);
    auto* surface = new TTiledBitmap(&table);
    surface->SetFillsParent(true);
    surface->SetBitMap(FeltTile());
    auto* bids = new TExtListView(&table);
    ConfigureBidsTable(*bids);
    const std::array<std::array<const char*, 4>, 4> rows = {{{"North", "3", "2", "0"},
                                                             {"East", "Nil", "0", "0"},
                                                             {"South", "4", "5", "1"},
                                                             {"West", "5", "6", "3"}}};
    for (const auto& values : rows) {
        const int row = bids->AddRow(values[0]);
        for (int column = 1; column < 4; ++column)
            bids->SetCell(row, column, values[static_cast<size_t>(column)]);
    }
    return Grab(table).copy(0, 360, 208, 101);
}

QImage SurfaceSheet(const QImage& tile)
{
    QWidget table;
    table.setAttribute(Qt::WA_DontShowOnScreen);
    table.resize(769, 461);
    auto* surface = new TTiledBitmap(&table);
    surface->SetFillsParent(true);
    surface->SetBitMap(tile);
    return Grab(table);
}

}  // namespace spades::gallery

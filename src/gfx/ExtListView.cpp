#include "ExtListView.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPaintEvent>
#include <QPainter>

#include <set>

namespace spades {

namespace {

constexpr uint32_t MappedBits =
    static_cast<uint32_t>(TLVExtendedStyle::lvxGridLines) |
    static_cast<uint32_t>(TLVExtendedStyle::lvxCheckboxes) |
    static_cast<uint32_t>(TLVExtendedStyle::lvxHeaderDragDrop) |
    static_cast<uint32_t>(TLVExtendedStyle::lvxFullRowSelect);

constexpr uint32_t AllBits = 0xff;

// Fills a viewport with its background colour as its paint begins, in place of
// the background Qt would fill for it. A viewport filled by Qt counts as opaque,
// so the window beneath would be painted around it, through a clip of many
// rectangles that the raster engine handles span by span on worker threads;
// this way the table's surface is one plain rectangle, painted in one go.
class TOwnBackground : public QObject {
public:
    explicit TOwnBackground(QWidget& viewport) : QObject(&viewport)
    {
        viewport.setAutoFillBackground(false);
        viewport.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            auto& viewport = static_cast<QWidget&>(*watched);
            QPainter(&viewport).fillRect(static_cast<QPaintEvent*>(event)->rect(),
                                         viewport.palette().brush(viewport.backgroundRole()));
        }
        return false;
    }
};

}  // namespace

TExtListView::TExtListView(QWidget* owner) : QTableWidget(owner)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    new TOwnBackground(*viewport());
    new TOwnBackground(*horizontalHeader()->viewport());
    SetExtendedStyles({});
}

QRegion TExtListView::OpaqueArea() const
{
    const QWidget* rows = viewport();
    if (!isVisible() || !rows->isVisible() || !rows->palette().brush(rows->backgroundRole()).isOpaque())
        return {};
    return rows->geometry();
}

void TExtListView::SetExtendedStyles(TLVExtendedStyles styles)
{
    const uint32_t bits = styles.toInt() & AllBits;
    setShowGrid(styles.testFlag(TLVExtendedStyle::lvxGridLines));
    horizontalHeader()->setSectionsMovable(styles.testFlag(TLVExtendedStyle::lvxHeaderDragDrop));
    SetFullRowSelect(styles.testFlag(TLVExtendedStyle::lvxFullRowSelect));
    const bool checkBoxes = styles.testFlag(TLVExtendedStyle::lvxCheckboxes);
    if (checkBoxes != FCheckBoxes) {
        FCheckBoxes = checkBoxes;
        for (int row = 0; row < rowCount(); ++row)
            ApplyCheckBoxes(row);
    }
    FOtherBits = bits & ~MappedBits;
    viewport()->update();
}

// Without full-row selection a click anywhere on a row selects the row's item,
// and only its caption shows as selected, the way a report list marks an item.
void TExtListView::SetFullRowSelect(bool fullRow)
{
    if (fullRow == FFullRowSelect && selectionBehavior() == (fullRow ? SelectRows : SelectItems))
        return;
    FFullRowSelect = fullRow;
    std::set<int> rows;
    if (QItemSelectionModel* selection = selectionModel())
        for (const QModelIndex& index : selection->selectedIndexes())
            rows.insert(index.row());
    setSelectionBehavior(fullRow ? SelectRows : SelectItems);
    if (!selectionModel())
        return;
    selectionModel()->clearSelection();
    const auto command = QItemSelectionModel::Select |
                         (fullRow ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
    for (int row : rows)
        selectionModel()->select(model()->index(row, 0), command);
}

void TExtListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (FFullRowSelect) {
        QTableWidget::setSelection(rect, command);
        return;
    }
    const QModelIndex at = indexAt(rect.topLeft());
    if (!at.isValid()) {
        QTableWidget::setSelection(rect, command);
        return;
    }
    const QModelIndex caption = model()->index(at.row(), 0);
    selectionModel()->setCurrentIndex(caption, QItemSelectionModel::NoUpdate);
    selectionModel()->select(caption, command);
}

TLVExtendedStyles TExtListView::GetExtendedStyles() const
{
    uint32_t bits = FOtherBits;
    if (showGrid())
        bits |= static_cast<uint32_t>(TLVExtendedStyle::lvxGridLines);
    if (FCheckBoxes)
        bits |= static_cast<uint32_t>(TLVExtendedStyle::lvxCheckboxes);
    if (horizontalHeader()->sectionsMovable())
        bits |= static_cast<uint32_t>(TLVExtendedStyle::lvxHeaderDragDrop);
    if (FFullRowSelect)
        bits |= static_cast<uint32_t>(TLVExtendedStyle::lvxFullRowSelect);
    return TLVExtendedStyles::fromInt(bits);
}

void TExtListView::SetColumns(std::initializer_list<TListColumn> columns)
{
    setColumnCount(static_cast<int>(columns.size()));
    int column = 0;
    for (const TListColumn& c : columns) {
        auto* header = new QTableWidgetItem(c.Caption);
        header->setTextAlignment(c.Alignment | Qt::AlignVCenter);
        setHorizontalHeaderItem(column, header);
        setColumnWidth(column, c.Width);
        ++column;
    }
}

int TExtListView::AddRow(const QString& caption)
{
    const int row = rowCount();
    insertRow(row);
    SetCell(row, 0, caption);
    return row;
}

int TExtListView::FindRow(const QString& caption) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (Cell(row, 0) == caption)
            return row;
    return -1;
}

QString TExtListView::Cell(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

void TExtListView::SetCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    if (QTableWidgetItem* cell = item(row, column)) {
        cell->setText(text);
        return;
    }
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    const auto alignment = header ? Qt::Alignment(header->textAlignment()) : Qt::AlignLeft;
    cell->setTextAlignment((alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    setItem(row, column, cell);
    if (column == 0)
        ApplyCheckBoxes(row);
}

void TExtListView::ClearRows()
{
    setRowCount(0);
}

void TExtListView::ApplyCheckBoxes(int row)
{
    QTableWidgetItem* cell = item(row, 0);
    if (!cell)
        return;
    if (FCheckBoxes) {
        cell->setFlags(cell->flags() | Qt::ItemIsUserCheckable);
        if (!cell->data(Qt::CheckStateRole).isValid())
            cell->setCheckState(Qt::Unchecked);
    } else {
        cell->setFlags(cell->flags() & ~Qt::ItemIsUserCheckable);
        cell->setData(Qt::CheckStateRole, QVariant());
    }
}

bool TExtListView::Checked(int row) const
{
    const QTableWidgetItem* cell = item(row, 0);
    return FCheckBoxes && cell && cell->checkState() == Qt::Checked;
}

void TExtListView::SetChecked(int row, bool checked)
{
    QTableWidgetItem* cell = item(row, 0);
    if (FCheckBoxes && cell)
        cell->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void ConfigureBidsTable(TExtListView& view)
{
    view.setGeometry(4, 367, 200, 90);
    view.SetExtendedStyles(TLVExtendedStyle::lvxGridLines);
    QFont type(QStringLiteral("MS Sans Serif"));
    type.setStyleHint(QFont::SansSerif);
    type.setPointSize(8);
    type.setBold(true);
    view.setFont(type);
    view.horizontalHeader()->setFont(type);
    QPalette colours = view.palette();
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::black);
    view.setPalette(colours);
    view.setFocusPolicy(Qt::NoFocus);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view.verticalHeader()->setDefaultSectionSize(view.fontMetrics().height() + 2);
    view.horizontalHeader()->setFixedHeight(view.fontMetrics().height() + 4);
    view.SetColumns({{QString(), 64, Qt::AlignLeft},
                     {QStringLiteral("Bid"), 44, Qt::AlignHCenter},
                     {QStringLiteral("Made"), 44, Qt::AlignHCenter},
                     {QStringLiteral("Bags"), 44, Qt::AlignHCenter}});
}

QString BidCellText(int bid) { return bid == 0 ? QStringLiteral("NIL") : QString::number(bid); }

}  // namespace spades

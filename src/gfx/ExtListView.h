// A report-style list with the extended list styles: a table of rows under a
// header row. Built on QTableWidget, whose cells, grid and header give a report
// list directly; grid lines, full-row selection, check boxes and movable headers
// show at once, the other flags are kept as bits.
#pragma once

#include <QFlags>
#include <QString>
#include <QTableWidget>

#include "OpaqueControl.h"

#include <cstdint>
#include <initializer_list>

namespace spades {

enum class TLVExtendedStyle : uint32_t {
    lvxGridLines = 0x01,
    lvxSubItemImages = 0x02,
    lvxCheckboxes = 0x04,
    lvxTrackSelect = 0x08,
    lvxHeaderDragDrop = 0x10,
    lvxFullRowSelect = 0x20,
    lvxOneClickActivate = 0x40,
    lvxTwoClickActivate = 0x80,
};
Q_DECLARE_FLAGS(TLVExtendedStyles, TLVExtendedStyle)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLVExtendedStyles)

struct TListColumn {
    QString Caption;
    int Width = 50;
    Qt::Alignment Alignment = Qt::AlignLeft;
};

class TExtListView : public QTableWidget, public TOpaqueControl {
    Q_OBJECT

public:
    explicit TExtListView(QWidget* owner = nullptr);

    // Replaces every extended style at once: flags not in `styles` are switched off.
    void SetExtendedStyles(TLVExtendedStyles styles);
    // Read back from the control, so styles switched on or off behind our back count.
    TLVExtendedStyles GetExtendedStyles() const;
    TLVExtendedStyles ExtendedStyles() const { return GetExtendedStyles(); }
    uint32_t ExtendedStyleBits() const { return GetExtendedStyles().toInt(); }

    // Columns, left to right; replaces any there were.
    void SetColumns(std::initializer_list<TListColumn> columns);
    int ColumnCount() const { return columnCount(); }

    // Rows: the first column is the row's caption.
    int AddRow(const QString& caption);
    int RowCount() const { return rowCount(); }
    // The row with this caption, or -1.
    int FindRow(const QString& caption) const;
    QString Cell(int row, int column) const;
    // Writes a cell, creating it in the column's alignment when it is new.
    void SetCell(int row, int column, const QString& text);
    void ClearRows();

    // The rows' area, which paints its own background.
    QRegion OpaqueArea() const override;

    bool Checked(int row) const;
    void SetChecked(int row, bool checked);

protected:
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;

private:
    void SetFullRowSelect(bool fullRow);
    void ApplyCheckBoxes(int row);

    uint32_t FOtherBits = 0;   // flags with no counterpart in the Qt view
    bool FCheckBoxes = false;
    bool FFullRowSelect = true;   // so that the first setting applies
};

// The bids table of the main window: four columns (an untitled 64-pixel one for
// the seat, then "Bid", "Made" and "Bags", 44 pixels, centred), grid lines only,
// bold 8-point type in black, not a tab stop, at (4, 367) sized 200 x 90.
void ConfigureBidsTable(TExtListView& view);
// A bid as the bids table shows it: "NIL" for a nil, else the number.
QString BidCellText(int bid);

}  // namespace spades

#pragma once
// Owner-drawn grid cells: one delegate for every grid that paints its cells in
// a window's draw-cell handler, and the painting steps those handlers share.
#include <QStyledItemDelegate>

#include <functional>

class QTableWidget;

class CellPainter : public QStyledItemDelegate
{
public:
    using Draw = std::function<void(QPainter *, const QStyleOptionViewItem &, const QModelIndex &)>;
    CellPainter(Draw draw, QObject *parent) : QStyledItemDelegate(parent), draw_(std::move(draw)) {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        draw_(painter, option, index);
    }

private:
    Draw draw_;
};

// Row 0 and column 0 are the grid's fixed heading cells.
bool IsFixedCell(const QModelIndex &index);

// The brush the grid prepares for the cell's state: button face for fixed
// cells, highlight for a selected cell (when `selectable`), base otherwise;
// leaves the pen in the matching text colour.
void FillCell(QPainter *painter, const QPalette &palette, const QStyleOptionViewItem &option, const QModelIndex &index,
              bool selectable = true);

// FillCell, then the cell's text centred, 4 pixels below the top, on one line.
void PaintCenteredCell(const QTableWidget *grid, QPainter *painter, const QStyleOptionViewItem &option,
                       const QModelIndex &index);

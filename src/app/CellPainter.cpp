#include "app/CellPainter.h"

#include <QPainter>
#include <QTableWidget>

bool IsFixedCell(const QModelIndex &index)
{
    return index.row() == 0 || index.column() == 0;
}

void FillCell(QPainter *painter, const QPalette &palette, const QStyleOptionViewItem &option, const QModelIndex &index,
              bool selectable)
{
    const bool fixed = IsFixedCell(index);
    const bool selected = selectable && !fixed && option.state.testFlag(QStyle::State_Selected);
    painter->fillRect(option.rect, fixed ? palette.button() : selected ? palette.highlight() : palette.base());
    painter->setPen(fixed      ? palette.color(QPalette::ButtonText)
                    : selected ? palette.color(QPalette::HighlightedText)
                               : palette.color(QPalette::Text));
}

void PaintCenteredCell(const QTableWidget *grid, QPainter *painter, const QStyleOptionViewItem &option,
                       const QModelIndex &index)
{
    painter->save();
    FillCell(painter, grid->palette(), option, index);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(0, 4, 0, 0), Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

// Geometry of the 16-bit analog input parameter window as designed.
#include "parameters/AnaInLayout.h"
#include "parameters/TParaAna.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace
{

int rounded(double value)
{
    return static_cast<int>(std::lround(value));
}

} // namespace

// The design at 1280 x 1024, measured in the height h of a type selection box
// so that the activation's layout formula fits the rows; the screen scaling of
// FormCreate then scales it as a whole.
void TParaAna::designLayout()
{
    const QFontMetrics fm(font());
    const int h = std::max(Row[1].ComboBox->sizeHint().height(), Row[1].Edit->sizeHint().height());
    const int gap = rounded(0.4 * h);
    const int margin = rounded(0.5 * h);
    auto textWidth = [&fm](std::initializer_list<const char *> texts) {
        int w = 0;
        for (const char *t : texts)
            w = std::max(w, fm.horizontalAdvance(QString::fromUtf8(t)));
        return w;
    };
    const int checkWidth = Row[1].CbAktiv->sizeHint().width();
    auto checkColumn = [&](std::initializer_list<const char *> texts) {
        return std::max(checkWidth, textWidth(texts)) + 4;
    };

    const int labelW = textWidth({"Kanal 16", "Chan. 16"}) + 4;
    // Selection boxes get room for their arrow, which keeps its pixel size when
    // the window is scaled down.
    const int typeW = textWidth({"-10 ... 10 V", "4 ... 20 mA", "TC Typ W"}) + 2 * h + 8;
    const int filterEditW = std::max(textWidth({"255"}) + 16, 2 * h);
    const int filterBarW = 4 * h;
    const int aktivW = checkColumn({"Aktiv", "Active"});
    const int spikeW = checkColumn({"Spike"});
    const int scaleW = checkColumn({"Scale", "Down"});
    const int unitW = textWidth({"°C/10", "mV/10", "Einheit", "Unit"}) + 2 * h + 8;
    const int offsetEditW = textWidth({"-32767"}) + 16;
    const int offsetBarW = std::max(6 * h, textWidth({"Offset Processvalue"}) - offsetEditW);

    enum Column { Channel, Type, FilterEdit, FilterBar, Aktiv, Spike, Scale, Unit, OffsetEdit, OffsetBar, Columns };
    const int widths[Columns] = {labelW, typeW,  filterEditW, filterBarW,  aktivW,
                                 spikeW, scaleW, unitW,       offsetEditW, offsetBarW};
    int xs[Columns];
    int x = margin;
    for (int c = 0; c < Columns; ++c) {
        xs[c] = x;
        // An edit and its scroll bar sit close together.
        x += widths[c] + (c == FilterEdit || c == OffsetEdit ? 2 : gap);
    }
    const int groupWidth = x - gap + margin;

    // Two heading lines between the group box's title and the first row.
    const int textHeight = fm.height();
    const int contentsTop = ana_Para_In->contentsRect().top();
    const int firstTop = AnaInFirstRowTop(h, contentsTop + 2 * textHeight + 4);
    const int line2 = firstTop - textHeight - 2;
    const int line1 = line2 - textHeight;
    auto placeHeading = [&](int number, int column, int lastColumn, int y) {
        QLabel *label = Heading(number);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        label->setGeometry(xs[column], y, xs[lastColumn] + widths[lastColumn] - xs[column], textHeight);
    };
    placeHeading(17, Type, Type, line2);
    placeHeading(18, FilterEdit, FilterBar, line2);
    placeHeading(19, Aktiv, Aktiv, line2);
    placeHeading(20, Spike, Spike, line2);
    placeHeading(21, Scale, Scale, line1);
    placeHeading(22, Scale, Scale, line2);
    placeHeading(23, Unit, Unit, line2);
    placeHeading(24, OffsetEdit, OffsetBar, line2);

    const int barHeight = rounded(0.7 * h);
    for (int k = 1; k <= AnaInChannels; ++k) {
        TAnaInRow &r = Row[static_cast<size_t>(k)];
        const int top = AnaInRowTop(k, h, firstTop);
        const int barTop = top + (h - barHeight) / 2;
        r.Label->setGeometry(xs[Channel], top, widths[Channel], h);
        r.Label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        r.ComboBox->setGeometry(xs[Type], top, widths[Type], h);
        r.Edit->setGeometry(xs[FilterEdit], top, widths[FilterEdit], h);
        r.ScrollBar->setGeometry(xs[FilterBar], barTop, widths[FilterBar], barHeight);
        // The indicator keeps its pixel size when the window is scaled down:
        // each box gets the rest of its column as room.
        QCheckBox *boxes[] = {r.CbAktiv, r.CbSpike, r.CbScale};
        for (int c = 0; c < 3; ++c) {
            const int column = Aktiv + c;
            const int indent = (widths[column] - checkWidth) / 2;
            boxes[c]->setGeometry(xs[column] + indent, top, widths[column] - indent, h);
        }
        r.CoBoUnit->setGeometry(xs[Unit], top, widths[Unit], h);
        r.Offset->setGeometry(xs[OffsetEdit], top, widths[OffsetEdit], h);
        r.ScrollBarOffset->setGeometry(xs[OffsetBar], barTop, widths[OffsetBar], barHeight);
    }

    const AnaInLayout full = AnaInActivationLayout(AnaInChannels, h, 4 * h);
    ScrollBox1->setGeometry(margin, rounded(0.25 * h), groupWidth, full.groupHeight);
    ana_Para_In->setGeometry(0, 0, groupWidth, full.groupHeight);
    ScrollBox1->setWidget(ana_Para_In);

    const int buttonWidth = textWidth({"Schreiben", "Write", "Lesen", "Read", "Zurück", "Back"}) + 2 * h;
    const int buttonHeight = std::max(h, Button1->sizeHint().height());
    int bx = margin + groupWidth;
    for (QPushButton *b : {Back, Button2, Button1}) {
        bx -= buttonWidth;
        b->setGeometry(bx, full.controlsTop, buttonWidth, buttonHeight);
        bx -= gap;
    }
    Memo1->setGeometry(margin, full.controlsTop, bx - margin, 4 * h);
    resize(groupWidth + 2 * margin, full.clientHeight);
}

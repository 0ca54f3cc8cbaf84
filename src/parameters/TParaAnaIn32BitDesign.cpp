// Geometry of the 32-bit analog input parameter window as designed.
#include "parameters/AnaIn32Layout.h"
#include "parameters/TParaAnaIn32Bit.h"

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

// The design at 1280 x 1024, measured in the height h of a selection box so
// that the activation's layout formula fits the rows; the screen scaling of
// FormCreate then scales it as a whole.
void TParaAnaIn32Bit::designLayout()
{
    const QFontMetrics fm(font());
    const int h = std::max(Row[1].CoBoAus->sizeHint().height(), Row[1].PV1_->sizeHint().height());
    const int gap = rounded(0.4 * h);
    const int margin = rounded(0.5 * h);
    const int lineHeight = fm.height() + 2;
    const int line1 = rounded(0.2 * h);
    const int line2 = line1 + lineHeight;
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
    const int typW = std::max(textWidth({"4mV/V", "Type"}) + 16, 3 * h);
    // Wide enough for the scroll bar to show where its position is.
    const int filterW = std::max(textWidth({"255", "Filter"}) + 16, 5 * h);
    const int aktivW = checkColumn({"Aktiv", "Active"});
    const int spikeW = checkColumn({"Spike"});
    const int scaleW = checkColumn({"Scale", "Down"});
    const int formatCbW = checkColumn({"32Bit"});
    const int valueW = checkColumn({"Prozess", "Process", "Wert", "Value"});
    // Selection boxes get room for their arrow, which keeps its pixel size when
    // the window is scaled down.
    const int ausW = textWidth({"Brutto", "Offset", "Ausgabe", "Output"}) + 2 * h + 8;
    const int formatW = textWidth({"Normal", "res Tara", "Format"}) + 2 * h + 8;
    const int valueEditW = textWidth({"-2147483648", "FieldValue", "FeldWert", "ProValue"}) + 16;

    const int widths[] = {labelW, typW, filterW, aktivW,     spikeW,     scaleW,    formatCbW,
                          valueW, ausW, formatW, valueEditW, valueEditW, valueEditW};
    int xs[std::size(widths)];
    int x = margin;
    for (size_t c = 0; c < std::size(widths); ++c) {
        xs[c] = x;
        x += widths[c] + gap;
    }
    const int groupWidth = x - gap + margin;

    // Headings: column, first label number, lines (a one-line heading sits on
    // the lower line, next to the rows).
    struct HeadingPlace {
        int column;
        int label;
        int lines;
    };
    const HeadingPlace places[] = {{1, 17, 1}, {2, 18, 1}, {3, 19, 1}, {4, 20, 1},  {5, 21, 2},  {6, 23, 1},
                                   {7, 24, 2}, {8, 26, 1}, {9, 27, 1}, {10, 28, 2}, {11, 30, 2}, {12, 32, 2}};
    for (const HeadingPlace &p : places) {
        const int w = widths[p.column];
        for (int line = 0; line < p.lines; ++line) {
            QLabel *label = Heading(p.label + line);
            label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            const int y = p.lines == 2 && line == 0 ? line1 : line2;
            label->setGeometry(xs[p.column], y, w, lineHeight);
        }
    }

    const int barHeight = rounded(0.65 * h);
    const int band = h + barHeight;
    for (int k = 1; k <= AnaIn32Channels; ++k) {
        TAnaIn32Row &r = Row[static_cast<size_t>(k)];
        const int top = RowTop(k, h);
        const int mid = top + (band - h) / 2;
        r.Label->setGeometry(xs[0], mid, widths[0], h);
        r.Label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        r.Typ->setGeometry(xs[1], mid, widths[1], h);
        r.Edit->setGeometry(xs[2], top, widths[2], h);
        r.ScrollBar->setGeometry(xs[2], top + h, widths[2], barHeight);
        // The indicator keeps its pixel size when the window is scaled down: each
        // box gets the rest of its column and the whole band as room.
        QCheckBox *boxes[] = {r.CbAktiv, r.CbSpike, r.CbScale, r.CbFormat, r.CbValue};
        for (int c = 0; c < 5; ++c) {
            const int indent = (widths[3 + c] - checkWidth) / 2;
            boxes[c]->setGeometry(xs[3 + c] + indent, top, widths[3 + c] - indent, band);
        }
        r.CoBoAus->setGeometry(xs[8], mid, widths[8], h);
        r.CoBoFormat->setGeometry(xs[9], mid, widths[9], h);
        r.PV1_->setGeometry(xs[10], mid, widths[10], h);
        r.PV2_->setGeometry(xs[11], mid, widths[11], h);
        r.FV2_->setGeometry(xs[12], mid, widths[12], h);
    }

    const AnaIn32Layout full = ActivationLayout(AnaIn32Channels, h, 4 * h);
    const int groupTop = rounded(0.25 * h);
    ScrollBox1->setGeometry(margin, groupTop, groupWidth, full.groupHeight);
    GroupBox1->setGeometry(0, 0, groupWidth, full.groupHeight);
    ScrollBox1->setWidget(GroupBox1);

    const int buttonWidth = textWidth({"Lesen", "ReadAnaIn", "Schreiben", "WriteAnaIn", "Zurück", "Back"}) + 2 * h;
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

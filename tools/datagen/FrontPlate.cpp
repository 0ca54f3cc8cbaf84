#include "FrontPlate.h"

#include <QPainter>

namespace
{

const QColor Housing(214, 217, 220);
const QColor Edge(110, 112, 115);
const QColor TerminalBlock(72, 74, 78);
const QColor Lever(236, 140, 30);

QFont plateFont(int pixels, bool bold)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QColor kindColour(const QString &type)
{
    if (type == QLatin1String("DI"))
        return QColor(40, 140, 60);
    if (type == QLatin1String("DO"))
        return QColor(190, 50, 40);
    if (type == QLatin1String("AI"))
        return QColor(40, 90, 190);
    if (type == QLatin1String("AO"))
        return QColor(130, 70, 160);
    return QColor(80, 80, 80);
}

QImage blankPlate()
{
    QImage img(PlateWidth, PlateHeight, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

// Housing, colour band with a caption, DIN-rail latch.
void drawHousing(QPainter &p, const Brand &brand, const QString &caption, const QColor &body = Housing)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Edge);
    p.setBrush(body);
    p.drawRect(QRectF(0.5, 0.5, PlateWidth - 1, PlateHeight - 1));
    p.setPen(body.lighter(112));
    p.drawLine(QPointF(2.5, 18), QPointF(2.5, PlateHeight - 6));
    p.drawLine(QPointF(PlateWidth - 3.5, 18), QPointF(PlateWidth - 3.5, PlateHeight - 6));
    p.setPen(Qt::NoPen);
    p.setBrush(brand.colour);
    p.drawRect(QRectF(1, 1, PlateWidth - 2, 15));
    p.setPen(Qt::white);
    p.setFont(plateFont(caption.size() > 7 ? 8 : 9, true));
    p.drawText(QRectF(1, 1, PlateWidth - 2, 15), Qt::AlignCenter, caption);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 62, 65));
    p.drawRect(QRectF(1, PlateHeight - 5, PlateWidth - 2, 4));
}

void drawLed(QPainter &p, QPointF centre, const QColor &colour, const QString &label)
{
    p.setPen(QPen(colour.darker(160), 0.8));
    p.setBrush(colour);
    p.drawEllipse(centre, 2.8, 2.8);
    p.setPen(QColor(40, 40, 40));
    p.setFont(plateFont(6, false));
    p.drawText(QRectF(centre.x() + 4, centre.y() - 4, 20, 8), Qt::AlignLeft | Qt::AlignVCenter, label);
}

// Spring terminals in two columns of four, numbered from 1.
void drawTerminals(QPainter &p, int count, qreal top)
{
    p.setPen(Qt::NoPen);
    p.setBrush(TerminalBlock);
    p.drawRoundedRect(QRectF(4, top, PlateWidth - 8, 52), 2, 2);
    for (int k = 0; k < qMin(count, 8); ++k) {
        const qreal x = k < 4 ? 17 : 41;
        const qreal y = top + 7 + 12 * (k % 4);
        p.setPen(Qt::NoPen);
        p.setBrush(Lever);
        p.drawRect(QRectF(x - 9, y - 2.5, 5, 5));
        p.setBrush(QColor(20, 20, 20));
        p.drawEllipse(QPointF(x + 2, y), 3.2, 3.2);
        p.setPen(QColor(225, 225, 225));
        p.setFont(plateFont(6, false));
        p.drawText(QRectF(x + 6, y - 4, 10, 8), Qt::AlignLeft | Qt::AlignVCenter, QString::number(k + 1));
    }
}

} // namespace

QImage drawEmptySlot(const Brand &brand)
{
    QImage img = blankPlate();
    QPainter p(&img);
    drawHousing(p, brand, brand.family, Housing.darker(106));
    const QRectF cover(6, 22, PlateWidth - 12, PlateHeight - 34);
    p.setPen(QPen(Edge, 1, Qt::DashLine));
    p.setBrush(QBrush(Housing.darker(125), Qt::BDiagPattern));
    p.drawRect(cover);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 74, PlateWidth - 24, 14), 2, 2);
    p.setPen(QColor(60, 60, 60));
    p.setFont(plateFont(9, true));
    p.drawText(QRectF(12, 74, PlateWidth - 24, 14), Qt::AlignCenter, QStringLiteral("leer"));
    p.end();
    return img;
}

QImage drawCoupler(const Brand &brand, const ModuleInfo &module)
{
    QImage img = blankPlate();
    QPainter p(&img);
    drawHousing(p, brand, module.shortName.left(8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 62, 65));
    p.drawRoundedRect(QRectF(6, 20, PlateWidth - 12, 16), 2, 2);
    p.setPen(Qt::white);
    p.setFont(plateFont(9, true));
    p.drawText(QRectF(6, 20, PlateWidth - 12, 16), Qt::AlignCenter, QStringLiteral("Modbus"));
    drawLed(p, QPointF(10, 45), QColor(60, 200, 70), QStringLiteral("PWR"));
    drawLed(p, QPointF(34, 45), QColor(60, 200, 70), QStringLiteral("RUN"));
    drawLed(p, QPointF(10, 55), QColor(220, 40, 30), QStringLiteral("ERR"));
    drawLed(p, QPointF(34, 55), QColor(240, 200, 40), QStringLiteral("BUS"));
    // Ethernet socket with its contacts and latch opening.
    const QRectF socket(12, 64, PlateWidth - 24, 26);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    p.setBrush(QColor(150, 152, 155));
    p.drawRect(socket);
    p.setBrush(QColor(25, 25, 25));
    p.drawRect(socket.adjusted(3, 3, -3, -7));
    p.drawRect(QRectF(socket.center().x() - 5, socket.bottom() - 7, 10, 5));
    p.setPen(QPen(QColor(210, 180, 60), 0.8));
    for (int i = 0; i < 8; ++i)
        p.drawLine(QPointF(socket.left() + 6 + 3 * i, socket.top() + 4),
                   QPointF(socket.left() + 6 + 3 * i, socket.top() + 8));
    p.setPen(QColor(40, 40, 40));
    p.setFont(plateFont(6, false));
    p.drawText(QRectF(0, 91, PlateWidth, 8), Qt::AlignCenter, QStringLiteral("TCP  RS-485"));
    drawTerminals(p, 5, 101); // A, B, GND of the serial line, 24 V and 0 V supply
    p.end();
    return img;
}

QImage drawIoModule(const Brand &brand, const ModuleInfo &module)
{
    QImage img = blankPlate();
    QPainter p(&img);
    drawHousing(p, brand, module.shortName.left(8));
    const QColor kind = kindColour(module.type);
    p.setPen(Qt::NoPen);
    p.setBrush(kind);
    p.drawRoundedRect(QRectF(6, 20, PlateWidth - 12, 18), 2, 2);
    p.setPen(Qt::white);
    p.setFont(plateFont(13, true));
    p.drawText(QRectF(6, 20, PlateWidth - 12, 18), Qt::AlignCenter, module.type);

    const int channels = qBound(0, module.ioChannels, 8);
    p.setPen(QColor(40, 40, 40));
    p.setFont(plateFont(7, false));
    p.drawText(QRectF(0, 39, PlateWidth, 9), Qt::AlignCenter,
               channels == 1 ? QStringLiteral("1 Kanal") : QStringLiteral("%1 Kanäle").arg(channels));

    drawLed(p, QPointF(9, 55), QColor(60, 200, 70), QStringLiteral("RUN"));
    drawLed(p, QPointF(35, 55), QColor(220, 40, 30), QStringLiteral("ERR"));
    const bool digital = module.type == QLatin1String("DI") || module.type == QLatin1String("DO");
    const QColor channelLed = digital ? QColor(245, 205, 40) : QColor(60, 200, 70);
    for (int c = 0; c < channels; ++c) {
        const qreal x = channels > 4 ? (c < 4 ? 9 : 35) : 22;
        const qreal y = 66 + 9 * (c % 4);
        drawLed(p, QPointF(x, y), channelLed, QString::number(c + 1));
    }
    // Digital: one terminal per channel; analog: a pair per channel.
    drawTerminals(p, digital ? channels : 2 * channels, 101);
    p.end();
    return img;
}

QImage drawModule(const Brand &brand, const ModuleInfo &module)
{
    if (module.id == 0)
        return drawEmptySlot(brand);
    const bool io = module.type == QLatin1String("AI") || module.type == QLatin1String("AO") ||
                    module.type == QLatin1String("DI") || module.type == QLatin1String("DO");
    return io ? drawIoModule(brand, module) : drawCoupler(brand, module);
}

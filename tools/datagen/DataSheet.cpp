#include "DataSheet.h"

#include "FrontPlate.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace
{

constexpr int Resolution = 150; // dots per inch of the page coordinates

QFont sheetFont(int points, bool bold = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(points);
    f.setBold(bold);
    return f;
}

QString kindText(const QString &type)
{
    if (type == QLatin1String("AI"))
        return QStringLiteral("Analogeingang");
    if (type == QLatin1String("AO"))
        return QStringLiteral("Analogausgang");
    if (type == QLatin1String("DI"))
        return QStringLiteral("Digitaleingang");
    if (type == QLatin1String("DO"))
        return QStringLiteral("Digitalausgang");
    return type;
}

// Lines of text describing one parameter object.
QStringList objectLines(const ObjectInfo &o)
{
    QStringList lines;
    lines << QStringLiteral("%1   (Objekt %2, %3 Byte%4)")
                 .arg(o.name, o.id)
                 .arg(o.bytes)
                 .arg(o.isSigned ? QStringLiteral(", mit Vorzeichen") : QString());
    if (!o.stringCaptions.isEmpty()) {
        for (int i = 0; i < o.stringCaptions.size(); ++i)
            lines << QStringLiteral("    %1: Voreinstellung %2")
                         .arg(o.stringCaptions[i],
                              o.stringDefaults.value(i).isEmpty() ? QStringLiteral("-") : o.stringDefaults[i]);
        return lines;
    }
    if (!o.rangeCaption.isEmpty())
        lines << QStringLiteral("    %1: %2 bis %3")
                     .arg(o.rangeCaption, o.range.value(0), o.range.value(1, QStringLiteral("-")));
    for (const ValueRow &row : o.rows)
        lines << QStringLiteral("    %1: %2").arg(row.caption, row.texts.join(QStringLiteral(" | ")));
    for (int i = 0; i < o.bitTexts.size(); ++i)
        lines << QStringLiteral("    Bit %1: %2").arg(o.bitNumbers.value(i), o.bitTexts[i]);
    if (!o.defaultValue.isEmpty())
        lines << QStringLiteral("    Voreinstellung: %1").arg(o.defaultValue);
    return lines;
}

class SheetWriter
{
public:
    SheetWriter(QPdfWriter &writer, const Brand &brand, const QString &title)
        : writer_(writer), brand_(brand), title_(title), painter_(&writer)
    {
        area_ = writer.pageLayout().paintRectPixels(Resolution);
        area_.moveTo(0, 0);
        header();
    }
    bool ok() const { return painter_.isActive(); }

    // `keepWith`: height of what must follow on the same page.
    void heading(const QString &text, int keepWith)
    {
        need(60 + keepWith);
        y_ += 14;
        painter_.setPen(brand_.colour.darker(120));
        painter_.setFont(sheetFont(13, true));
        painter_.drawText(QRect(0, y_, area_.width(), 40), Qt::AlignLeft | Qt::AlignVCenter, text);
        y_ += 44;
    }

    void line(const QString &text, bool bold = false)
    {
        need(30);
        painter_.setPen(Qt::black);
        painter_.setFont(sheetFont(9, bold));
        painter_.drawText(QRect(0, y_, area_.width(), 28), Qt::AlignLeft | Qt::AlignVCenter, text);
        y_ += 28;
    }

    // Picture three times its size with the module's facts beside it.
    void moduleBlock(const QImage &picture, const QStringList &facts)
    {
        const int h = 3 * picture.height();
        need(h + 20);
        painter_.drawImage(QRect(0, y_, 3 * picture.width(), h), picture);
        painter_.setPen(Qt::black);
        painter_.setFont(sheetFont(10));
        int y = y_ + 10;
        for (const QString &f : facts) {
            painter_.drawText(QRect(3 * picture.width() + 40, y, area_.width(), 34), Qt::AlignLeft | Qt::AlignVCenter,
                              f);
            y += 36;
        }
        y_ += h + 20;
    }

    void finish() { painter_.end(); }

private:
    void need(int height)
    {
        if (y_ + height <= area_.height() - 50)
            return;
        writer_.newPage();
        header();
    }

    void header()
    {
        ++page_;
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(brand_.colour);
        painter_.drawRect(QRect(0, 0, area_.width(), 70));
        painter_.setPen(Qt::white);
        painter_.setFont(sheetFont(18, true));
        painter_.drawText(QRect(20, 0, area_.width() - 40, 70), Qt::AlignLeft | Qt::AlignVCenter,
                          QStringLiteral("Datenblatt ") + title_);
        painter_.setFont(sheetFont(10));
        painter_.drawText(QRect(20, 0, area_.width() - 40, 70), Qt::AlignRight | Qt::AlignVCenter,
                          QStringLiteral("Baureihe ") + brand_.family);
        painter_.setPen(Qt::darkGray);
        painter_.setFont(sheetFont(8));
        painter_.drawText(QRect(0, area_.height() - 30, area_.width(), 30), Qt::AlignRight | Qt::AlignVCenter,
                          QStringLiteral("Seite %1").arg(page_));
        y_ = 100;
    }

    QPdfWriter &writer_;
    const Brand &brand_;
    QString title_;
    QPainter painter_;
    QRect area_;
    int y_ = 0;
    int page_ = 0;
};

} // namespace

bool writeDataSheet(const QString &path, const Brand &brand, const Catalogue &catalogue,
                    const QList<const ModuleInfo *> &modules, QString &error)
{
    const QString title = QFileInfo(path).completeBaseName().chopped(2); // without "FB"
    QPdfWriter writer(path);
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Datenblatt ") + title);
    writer.setCreator(QStringLiteral("vo3112datagen"));
    SheetWriter sheet(writer, brand, title);
    if (!sheet.ok()) {
        error = QStringLiteral("cannot write ") + path;
        return false;
    }
    for (const ModuleInfo *m : modules) {
        const QImage picture = drawModule(brand, *m);
        sheet.heading(m->shortName + QStringLiteral("  ") + m->addName, 3 * picture.height() + 20);
        QStringList facts;
        facts << QStringLiteral("Modulkennung: 0x%1 (%2)")
                     .arg(QString::number(m->id, 16).rightJustified(2, QLatin1Char('0')).toUpper())
                     .arg(m->id);
        if (m->id == 0) {
            facts << QStringLiteral("Abdeckung für einen freien Steckplatz");
        } else if (m->id == 0xF5) {
            facts << QStringLiteral("Buskoppler für bis zu 9 Module") << QStringLiteral("Modbus/TCP, Port 502")
                  << QStringLiteral("Modbus RTU über RS-232 oder RS-485") << QStringLiteral("Versorgung 24 V DC");
        } else {
            facts << QStringLiteral("Art: ") + kindText(m->type) << QStringLiteral("Kanäle: %1").arg(m->ioChannels)
                  << QStringLiteral("Prozessdaten: %1 Byte").arg(m->bytes);
        }
        sheet.moduleBlock(picture, facts);

        // Parameter objects; channels with the same list are described once.
        int n = 0;
        while (n < m->objectLists.size()) {
            int last = n;
            while (n > 0 && last + 1 < m->objectLists.size() && m->objectLists[last + 1] == m->objectLists[n])
                ++last;
            if (!m->objectLists[n].isEmpty()) {
                const QString who = n == 0      ? QStringLiteral("Parameter des Moduls")
                                    : last == n ? QStringLiteral("Parameter Kanal %1").arg(n)
                                                : QStringLiteral("Parameter Kanal %1 bis %2").arg(n).arg(last);
                sheet.line(who, true);
                for (const QString &id : m->objectLists[n]) {
                    const ObjectInfo *o = catalogue.object(id);
                    if (!o)
                        continue;
                    const QStringList lines = objectLines(*o);
                    for (int i = 0; i < lines.size(); ++i)
                        sheet.line(lines[i], i == 0);
                }
            }
            n = last + 1;
        }
    }
    sheet.finish();
    return true;
}

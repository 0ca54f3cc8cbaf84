#include "app/IntegerField.h"

#include "app/Conversions.h"
#include "app/Messages.h"

#include <QLineEdit>

namespace
{

IntegerReading readField(const QString &text, qint64 min, qint64 max, bool hex)
{
    return hex ? ReadHexText(text, min, max) : ReadIntegerText(text, min, max);
}

} // namespace

IntegerField::IntegerField(Deklarat &d, QLineEdit *edit, qint64 min, qint64 max, Take take, bool hex, Taken taken)
    : QObject(edit), d(d), edit_(edit), min_(min), max_(max), take_(std::move(take)), hex_(hex), taken_(taken)
{
    connect(edit, &QLineEdit::textChanged, this, [this] { changed(); });
    connect(edit, &QLineEdit::editingFinished, this, [this] { left(); });
}

void IntegerField::changed()
{
    if (taken_ == Taken::OnLeave && edit_->isModified())
        return;
    const IntegerReading reading = readField(edit_->text(), min_, max_, hex_);
    if (reading.kind == IntegerTextKind::Value && take_)
        take_(reading.value);
}

void IntegerField::left()
{
    const QString text = edit_->text();
    const IntegerReading reading = readField(text, min_, max_, hex_);
    if (reading.kind == IntegerTextKind::Value) {
        if (taken_ == Taken::OnLeave && edit_->isModified()) {
            edit_->setModified(false);
            if (take_)
                take_(reading.value);
        }
        return;
    }
    if (reading.kind == IntegerTextKind::OutOfRange)
        ReportConversionError(d, OutOfRangeText(text, rangeText()));
    else
        ReportConversionError(d, InvalidIntegerText(hex_ ? QStringLiteral("$") + text : text));
    if (shownAfterRefusal_)
        edit_->setText(shownAfterRefusal_());
}

QString IntegerField::rangeText() const
{
    if (!hex_)
        return RangeText(min_, max_);
    return QStringLiteral("%1 .. %2")
        .arg(HexText(static_cast<quint64>(min_), 2), HexText(static_cast<quint64>(max_), 2));
}

bool IntegerField::holdsValue() const
{
    return value().has_value();
}

std::optional<qint64> IntegerField::value() const
{
    const IntegerReading reading = readField(edit_->text(), min_, max_, hex_);
    if (reading.kind != IntegerTextKind::Value)
        return std::nullopt;
    return reading.value;
}

QString FieldRefusalText(const QString &message, const QString &field, const IntegerField &number)
{
    return message.arg(field, number.rangeText());
}

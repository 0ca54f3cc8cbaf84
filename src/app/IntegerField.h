#pragma once
// An edit that holds an integer and converts on every change. A text that is
// only on its way to a number leaves the value as it was; so does a number
// the field cannot hold or a text that is none. Such a text is reported when
// the field is left or Enter is pressed, and a send asks `holdsValue()`
// first, so nothing goes out that the field does not show.
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class Deklarat;
class QLineEdit;

class IntegerField : public QObject
{
public:
    using Take = std::function<void(qint64)>;
    enum class Taken {
        OnChange, // every value on the way, as the user types
        OnLeave,  // typed text only when the field is left; a text set by the program at once
    };
    IntegerField(Deklarat &d, QLineEdit *edit, qint64 min, qint64 max, Take take, bool hex = false,
                 Taken taken = Taken::OnChange);

    // The text changed: a value within the range is taken.
    void changed();
    // The field was left or Enter pressed: anything but a value is reported.
    void left();
    // A field whose value counts at once (no write to refuse it) shows the
    // value in force again once a refused text was reported.
    void setShownAfterRefusal(std::function<QString()> shown) { shownAfterRefusal_ = std::move(shown); }
    // The value the text stands for, if it is one within the range.
    std::optional<qint64> value() const;
    // The text reads as a value within the range.
    bool holdsValue() const;

    qint64 minimum() const { return min_; }
    qint64 maximum() const { return max_; }
    QLineEdit *edit() const { return edit_; }
    // "1 .. 255", or "01 .. F7" for a hex field.
    QString rangeText() const;

private:
    Deklarat &d;
    QLineEdit *edit_;
    qint64 min_;
    qint64 max_;
    Take take_;
    bool hex_;
    Taken taken_;
    std::function<QString()> shownAfterRefusal_;
};

// The message of a send refused because `field` holds no value in its range:
// the window's text with %1 for the field and %2 for the range.
QString FieldRefusalText(const QString &message, const QString &field, const IntegerField &number);

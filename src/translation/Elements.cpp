#include "translation/Elements.h"

#include <QVBoxLayout>

TStatusBar::TStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
}

void TStatusBar::addPanel(int width, bool fillRest)
{
    auto *label = new QLabel(this);
    if (fillRest)
        label->setMinimumWidth(width);
    else
        label->setFixedWidth(width);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(panels_.size()));
    addWidget(label, fillRest ? 1 : 0);
    panels_.push_back(label);
}

QString TStatusBar::panelText(int index) const
{
    QLabel *label = panel(index);
    return label ? label->text() : QString();
}

void TStatusBar::setPanelText(int index, const QString &text)
{
    if (QLabel *label = panel(index))
        label->setText(text);
}

QLabel *TStatusBar::panel(int index) const
{
    if (index < 0 || index >= panelCount())
        return nullptr;
    return panels_[static_cast<size_t>(index)];
}

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent)
{
    new QVBoxLayout(this);
}

void TRadioGroup::setItems(const QStringList &items)
{
    for (QRadioButton *b : buttons_)
        delete b;
    buttons_.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i), this);
        layout()->addWidget(button);
        connect(button, &QRadioButton::clicked, this, [this, i] { emit clicked(i); });
        buttons_.push_back(button);
    }
}

QString TRadioGroup::itemText(int index) const
{
    if (index < 0 || index >= itemCount())
        return QString();
    return buttons_[static_cast<size_t>(index)]->text();
}

void TRadioGroup::setItemText(int index, const QString &text)
{
    if (index >= 0 && index < itemCount())
        buttons_[static_cast<size_t>(index)]->setText(text);
}

int TRadioGroup::itemIndex() const
{
    for (int i = 0; i < itemCount(); ++i)
        if (buttons_[static_cast<size_t>(i)]->isChecked())
            return i;
    return -1;
}

void TRadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < itemCount())
        buttons_[static_cast<size_t>(index)]->setChecked(true);
}

TOpenDialog::TOpenDialog(QObject *parent) : QObject(parent) {}

QString TOpenDialog::execute(QWidget *parent, const QString &folder) const
{
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

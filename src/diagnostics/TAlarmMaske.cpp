#include "diagnostics/TAlarmMaske.h"

#include "app/Named.h"
#include "diagnostics/ErrorFrames.h"
#include "translation/WordLists.h"

#include <QVBoxLayout>

namespace
{

QFrame *emptyPanel(QWidget *parent, const char *name, int height)
{
    auto *panel = named(new QFrame(parent), name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setFixedHeight(height);
    return panel;
}

} // namespace

TAlarmMaske::TAlarmMaske(Deklarat &d) : TForm(d, QStringLiteral("TAlarmMaske"), QStringLiteral("Alarm Maske"))
{
    PTop = emptyPanel(this, "PTop", 24);
    PMask = named(new QFrame(this), "PMask");
    PMask->setFrameShape(QFrame::Panel);
    PMask->setFrameShadow(QFrame::Raised);
    PBottom = emptyPanel(this, "PBottom", 24);

    // Design texts are the German ones; the word list sets them anyway.
    const std::pair<QCheckBox **, const char *> boxes[16] = {
        {&CBErrDigIn, "CBErrDigIn"},         {&CBErrDigOut, "CBErrDigOut"},     {&CBErrAnaIn, "CBErrAnaIn"},
        {&CBErrAnaOut, "CBErrAnaOut"},       {&CBErrModEep, "CBErrModEep"},     {&CBErrWrongIp, "CBErrWrongIp"},
        {&CBErrRes1, "CBErrRes1"},           {&CBErrCoupler, "CBErrCoupler"},   {&CBErrLin, "CBErrLin"},
        {&CBErrEepNew, "CBErrEepNew"},       {&CBErrWriteEep, "CBErrWriteEep"}, {&CBErrReadEep, "CBErrReadEep"},
        {&CBErrRes2, "CBErrRes2"},           {&CBErrRes3, "CBErrRes3"},         {&CBErrId, "CBErrId"},
        {&CBErrNewConfig, "CBErrNewConfig"},
    };
    auto *maskLayout = new QVBoxLayout(PMask);
    maskLayout->setContentsMargins(12, 8, 12, 8);
    maskLayout->setSpacing(4);
    for (int bit = 0; bit < 16; ++bit) {
        QCheckBox *box = named(new QCheckBox(PMask), boxes[bit].second);
        *boxes[bit].first = box;
        BitBoxes[static_cast<size_t>(bit)] = box;
        box->setEnabled(!IsReservedBit(bit));
        maskLayout->addWidget(box);
    }

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PTop);
    layout->addWidget(PMask, 1);
    layout->addWidget(PBottom);

    translate(TAlarmMaskeWords(), WindowFonts::SansSerifThenArial(), 0);
}

bool TAlarmMaske::IsReservedBit(int bit)
{
    return (ReservedMaskBits >> bit) & 1u;
}

void TAlarmMaske::ShowMask(quint16 mask)
{
    for (int bit = 0; bit < 16; ++bit)
        if (!IsReservedBit(bit))
            BitBoxes[static_cast<size_t>(bit)]->setChecked((mask >> bit) & 1u);
}

quint16 TAlarmMaske::CheckedBits() const
{
    quint16 bits = 0;
    for (int bit = 0; bit < 16; ++bit)
        if (!IsReservedBit(bit) && BitBoxes[static_cast<size_t>(bit)]->isChecked())
            bits = static_cast<quint16>(bits | (1u << bit));
    return bits;
}

#include "parameters/TZusatzIOEdit.h"

#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/IniFile.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "parameters/FunctionCodes.h"
#include "translation/WordLists.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QKeyEvent>

namespace
{

constexpr int ClientWidth = 575;
constexpr int ClientHeight = 391;

const char *const MixBitNames[MixedObjectBoxes] = {"CBoMixBit0", "CBOMixBit1", "CBoMixBit2", "CBoMixBit3"};

} // namespace

TZusatzIOEdit::TZusatzIOEdit(Deklarat &d) : TForm(d, QStringLiteral("TZusatzIOEdit"), QStringLiteral("Eigenschaften"))
{
    // A fixed dialog without title-bar buttons, always on top.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);

    TCKanal = named(new QTabBar(this), "TCKanal");
    TCKanal->setExpanding(false);
    TCKanal->setDrawBase(false);
    PKanal = named(new QFrame(this), "PKanal");
    PKanal->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    PObjectEditor = named(new QFrame(PKanal), "PObjectEditor");
    TCCanObject = named(new QTabBar(PObjectEditor), "TCCanObject");
    TCCanObject->setExpanding(false);
    TCCanObject->setDrawBase(false);
    auto *page = named(new QFrame(PObjectEditor), "PObjectPage");
    page->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    PDigObj = named(new QFrame(page), "PDigObj");
    for (int i = 0; i < DigitalObjectBoxes; ++i) {
        QCheckBox *box = named(new QCheckBox(PDigObj), QStringLiteral("CBoBit%1").arg(i));
        connect(box, &QCheckBox::toggled, this, [this] { PDigObjChange(); });
        CBoBit[static_cast<size_t>(i)] = box;
    }
    PMixObj = named(new QFrame(page), "PMixObj");
    for (int r = 0; r < ObjectValueRows; ++r) {
        LMix[static_cast<size_t>(r)] = named(new QLabel(PMixObj), QStringLiteral("LMix%1").arg(r));
        QComboBox *choice = named(new QComboBox(PMixObj), QStringLiteral("CBMix%1").arg(r));
        connect(choice, &QComboBox::currentIndexChanged, this, [this] { PMixObjChange(); });
        CBMix[static_cast<size_t>(r)] = choice;
        QCheckBox *box = named(new QCheckBox(PMixObj), MixBitNames[r]);
        connect(box, &QCheckBox::toggled, this, [this] { PMixObjChange(); });
        CBoMixBit[static_cast<size_t>(r)] = box;
    }
    EMix0 = named(new QLineEdit(PMixObj), "EMix0");
    EMix0->installEventFilter(this);

    LFunction = named(new QLabel(QStringLiteral("Funktion"), this), "LFunction");
    CBFunction = named(new QComboBox(this), "CBFunction");
    // Filled for the module's kind, but the user does not choose here.
    LFunction->hide();
    CBFunction->hide();

    OKBtn = named(new QPushButton(QStringLiteral("Schreiben"), this), "OKBtn");
    ReadBtn = named(new QPushButton(QStringLiteral("Lesen"), this), "ReadBtn");
    CancelBtn = named(new QPushButton(QStringLiteral("Zurück"), this), "CancelBtn");
    // Enter belongs to the number field, never to a default button.
    for (QPushButton *b : {OKBtn, ReadBtn, CancelBtn})
        b->setAutoDefault(false);
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(ReadBtn, &QPushButton::clicked, this, [this] { ReadBtnClick(); });
    connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });

    TmReadPara = named(new QTimer(this), "TmReadPara");
    TmRead32Para = named(new QTimer(this), "TmRead32Para");
    TmWritePara = named(new QTimer(this), "TmWritePara");
    TmWrite32Para = named(new QTimer(this), "TmWrite32Para");
    connect(TmReadPara, &QTimer::timeout, this, [this] { TmReadParaTimer(); });
    connect(TmRead32Para, &QTimer::timeout, this, [this] { TmRead32ParaTimer(); });
    connect(TmWritePara, &QTimer::timeout, this, [this] { TmWriteParaTimer(); });
    connect(TmWrite32Para, &QTimer::timeout, this, [this] { TmWrite32ParaTimer(); });

    // A click on a tab takes the focus, so that a number typed and not yet
    // confirmed is taken when the field is left, before another object shows.
    TCKanal->setFocusPolicy(Qt::StrongFocus);
    TCCanObject->setFocusPolicy(Qt::StrongFocus);
    connect(TCKanal, &QTabBar::currentChanged, this, [this] { TCKanalChange(); });
    connect(TCCanObject, &QTabBar::currentChanged, this, [this] { TCCanObjectChange(); });

    translate(TZusatzIOEditWords(), WindowFonts::SansSerif(), 0);
    designLayout();
    FormCreate();
}

void TZusatzIOEdit::designLayout()
{
    auto *digital = new QGridLayout(PDigObj);
    digital->setContentsMargins(12, 12, 12, 12);
    digital->setHorizontalSpacing(16);
    for (int i = 0; i < DigitalObjectBoxes; ++i)
        digital->addWidget(CBoBit[static_cast<size_t>(i)], i % 4, i / 4);
    digital->setRowStretch(4, 1);

    auto *mixed = new QGridLayout(PMixObj);
    mixed->setContentsMargins(12, 12, 12, 12);
    mixed->setHorizontalSpacing(12);
    mixed->setVerticalSpacing(10);
    for (int r = 0; r < ObjectValueRows; ++r) {
        mixed->addWidget(LMix[static_cast<size_t>(r)], r, 0);
        mixed->addWidget(CBMix[static_cast<size_t>(r)], r, 1);
        mixed->addWidget(CBoMixBit[static_cast<size_t>(r)], r, 2);
        mixed->setRowMinimumHeight(r, CBMix[0]->sizeHint().height());
    }
    mixed->addWidget(EMix0, 0, 1);
    mixed->setColumnMinimumWidth(1, 150);
    mixed->setColumnStretch(2, 1);
    mixed->setRowStretch(ObjectValueRows, 1);

    auto *pageLayout = new QVBoxLayout(PDigObj->parentWidget());
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(PDigObj);
    pageLayout->addWidget(PMixObj);

    auto *editor = new QVBoxLayout(PObjectEditor);
    editor->setContentsMargins(0, 0, 0, 0);
    editor->setSpacing(0);
    editor->addWidget(TCCanObject);
    editor->addWidget(PDigObj->parentWidget(), 1);

    auto *channel = new QVBoxLayout(PKanal);
    channel->setContentsMargins(8, 8, 8, 8);
    channel->addWidget(PObjectEditor);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(LFunction);
    buttons->addWidget(CBFunction);
    buttons->addStretch(1);
    for (QPushButton *b : {OKBtn, ReadBtn, CancelBtn}) {
        b->setMinimumWidth(90);
        buttons->addWidget(b);
    }

    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(8, 8, 8, 8);
    top->setSpacing(0);
    top->addWidget(TCKanal);
    top->addWidget(PKanal, 1);
    top->addSpacing(8);
    top->addLayout(buttons);
    setFixedSize(ClientWidth, ClientHeight);
}

void TZusatzIOEdit::FormCreate()
{
    position_ = d.SelectedPosition % StationPositionCount;
    const StationPosition &position = d.StationPositions[position_];
    moduleId_ = position.ModuleId;
    const CatalogueEntry &entry = d.ModuleCatalogue[moduleId_];
    kind_ = entry.Kind;
    setWindowTitle(LookupMessage(QStringLiteral("%Form%")) + QStringLiteral(" - ") +
                   LookupMessage(QStringLiteral("@idKNOTEN")) + QStringLiteral(": 1, ") +
                   LookupMessage(QStringLiteral("@idSLOT")) + QStringLiteral(": ") + QString::number(position_) +
                   QStringLiteral(" - ") + entry.ShortName + QLatin1Char(' ') + entry.AddName);

    if (IsAnalog()) {
        channels_ = std::min<int>(entry.Channel, MaxRecordChannels);
        for (int n = 1; n <= channels_; ++n)
            WorkChannels[static_cast<size_t>(n)] = position.ChannelParams[static_cast<size_t>(n)];
    } else if (IsDigitalKind(kind_)) {
        WorkModule = position.ModuleParams;
    }

    const OfferedFunctions offered = ReadFunctionCodes(d.ProgramFolder + FunctionCodeFileName(),
                                                       MultiLang1 ? MultiLang1->ActiveLanguage() : 0, kind_);
    CBFunction->clear();
    CBFunction->addItems(offered.Names);
    FunctionTable = offered.FunctionTable;

    setObjectEditorShown(false);
    if (IsAnalog()) {
        const QSignalBlocker quiet(TCKanal);
        for (int n = 1; n <= channels_; ++n)
            TCKanal->addTab(LookupMessage(QStringLiteral("@idKANAL")) + QLatin1Char(' ') + QString::number(n));
        TCKanal->setCurrentIndex(0);
    }
    if (IsAnalog()) {
        TCKanalChange();
    } else {
        CBFunction->setCurrentIndex(FunctionTable.empty() ? -1 : 0);
        listObjects();
    }
    CBFunctionChange();
}

void TZusatzIOEdit::setObjectEditorShown(bool shown)
{
    PObjectEditor->setVisible(shown);
    if (shown)
        PObjectEditor->raise();
}

ParameterRecord *TZusatzIOEdit::workRecord(int channel)
{
    if (IsAnalog()) {
        const int n = channel + 1;
        if (n < 1 || n > channels_ || !WorkChannels[static_cast<size_t>(n)])
            return nullptr;
        return &*WorkChannels[static_cast<size_t>(n)];
    }
    return WorkModule ? &*WorkModule : nullptr;
}

ParameterRecord *TZusatzIOEdit::CurrentRecord()
{
    return workRecord(IsAnalog() ? TCKanal->currentIndex() : 0);
}

int TZusatzIOEdit::CurrentEntry() const
{
    const int tab = TCCanObject->currentIndex();
    return tab < 0 ? -1 : TCCanObject->tabData(tab).toInt();
}

void TZusatzIOEdit::TCKanalChange()
{
    setObjectEditorShown(false);
    // Every channel starts with the first function offered, whatever it held.
    CBFunction->setCurrentIndex(FunctionTable.empty() ? -1 : 0);
    listObjects();
    CBFunctionChange();
}

void TZusatzIOEdit::CBFunctionChange()
{
    const int selected = CBFunction->currentIndex();
    ParameterRecord *record = CurrentRecord();
    // Without a function offered for this kind the record keeps 255 and the
    // object editor stays hidden.
    if (selected < 0 || selected >= static_cast<int>(FunctionTable.size()))
        return;
    const quint8 function = FunctionTable[static_cast<size_t>(selected)];
    if (record)
        record->SetFunction(function);
    if (const std::optional<bool> shown = ObjectEditorShown(kind_, function))
        setObjectEditorShown(*shown);
}

void TZusatzIOEdit::listObjects()
{
    {
        const QSignalBlocker quiet(TCCanObject);
        while (TCCanObject->count() > 0)
            TCCanObject->removeTab(0);
        if (const ParameterRecord *record = CurrentRecord()) {
            const IniFile file(d.ProgramFolder + DescriptionFileName(d.BrandMode));
            for (int e = 0; e < ObjectEntryCount; ++e) {
                const QString id = record->ObjectEntries[static_cast<size_t>(e)].ObjectId;
                if (id.isEmpty())
                    break;
                const QString name = file.readString(QStringLiteral("Object_") + id, QStringLiteral("Name"));
                if (name.isEmpty())
                    continue; // no tab; the tabs after it still show their own entries
                const int tab = TCCanObject->addTab(name);
                TCCanObject->setTabData(tab, e);
            }
        }
        if (TCCanObject->count() > 0)
            TCCanObject->setCurrentIndex(0);
    }
    TCCanObjectChange();
}

void TZusatzIOEdit::TCCanObjectChange()
{
    filling_ = true;
    PDigObj->hide();
    PMixObj->hide();
    const ParameterRecord *record = CurrentRecord();
    const int e = CurrentEntry();
    if (!record || e < 0) {
        shown_ = tObjItems();
        filling_ = false;
        return;
    }
    const ObjectEntry &entry = record->ObjectEntries[static_cast<size_t>(e)];
    shown_ = LoadObjectItems(IniFile(d.ProgramFolder + DescriptionFileName(d.BrandMode)), entry.ObjectId);
    const qint64 v = entry.Value;
    if (shown_.Typ == DigitalObjectTyp) {
        for (QCheckBox *box : CBoBit)
            box->hide();
        const std::vector<ObjectBitBox> boxes = ObjectBitBoxes(shown_, v, DigitalObjectBoxes);
        for (size_t i = 0; i < boxes.size(); ++i) {
            CBoBit[i]->setText(boxes[i].Caption);
            CBoBit[i]->setChecked(boxes[i].Ticked);
            CBoBit[i]->show();
        }
        PDigObj->show();
    } else if (shown_.Typ == MixedObjectTyp) {
        for (int r = 0; r < ObjectValueRows; ++r) {
            LMix[static_cast<size_t>(r)]->hide();
            CBMix[static_cast<size_t>(r)]->hide();
            CBoMixBit[static_cast<size_t>(r)]->hide();
        }
        EMix0->hide();
        const std::vector<ObjectBitBox> boxes = ObjectBitBoxes(shown_, v, MixedObjectBoxes);
        for (size_t i = 0; i < boxes.size(); ++i) {
            CBoMixBit[i]->setText(boxes[i].Caption);
            CBoMixBit[i]->setChecked(boxes[i].Ticked);
            CBoMixBit[i]->show();
        }
        if (shown_.HasNumberField()) {
            LMix[0]->setText(shown_.RangeCaption);
            LMix[0]->show();
            EMix0->setText(NumberFieldText(shown_, v));
            EMix0->show();
        }
        for (int r = shown_.FirstValueRow(); r < ObjectValueRows; ++r) {
            const ObjectValueRow &row = shown_.Rows[static_cast<size_t>(r)];
            if (!row.Usable())
                continue;
            QComboBox *choice = CBMix[static_cast<size_t>(r)];
            LMix[static_cast<size_t>(r)]->setText(row.Caption);
            LMix[static_cast<size_t>(r)]->show();
            choice->clear();
            choice->addItems(row.Texts);
            choice->setCurrentIndex(row.IndexOf(v));
            choice->show();
        }
        PMixObj->show();
    }
    filling_ = false;
}

void TZusatzIOEdit::PDigObjChange()
{
    ParameterRecord *record = CurrentRecord();
    const int e = CurrentEntry();
    if (filling_ || !record || e < 0 || shown_.Typ != DigitalObjectTyp)
        return;
    std::vector<bool> ticked;
    for (QCheckBox *box : CBoBit)
        ticked.push_back(box->isChecked());
    ObjectEntry &entry = record->ObjectEntries[static_cast<size_t>(e)];
    entry.Value = DigitalObjectValue(shown_, ticked);
    entry.Valid = 0;
}

void TZusatzIOEdit::PMixObjChange()
{
    ParameterRecord *record = CurrentRecord();
    const int e = CurrentEntry();
    if (filling_ || !record || e < 0 || shown_.Typ != MixedObjectTyp)
        return;
    ObjectEntry &entry = record->ObjectEntries[static_cast<size_t>(e)];
    std::optional<qint64> field;
    if (shown_.HasNumberField()) {
        const QString text = EMix0->text();
        field = NumberFieldValue(shown_, text);
        if (!field) {
            // The stored value back first: the error box takes the focus away
            // from the field, which must not ask again.
            filling_ = true;
            EMix0->setText(NumberFieldText(shown_, entry.Value));
            filling_ = false;
            ReportConversionError(d, InvalidIntegerText(text));
            return;
        }
        filling_ = true;
        EMix0->setText(NumberFieldText(shown_, *field));
        filling_ = false;
    }
    std::vector<bool> ticked;
    for (QCheckBox *box : CBoMixBit)
        ticked.push_back(box->isChecked());
    std::array<int, ObjectValueRows> selected{};
    for (int r = 0; r < ObjectValueRows; ++r)
        selected[static_cast<size_t>(r)] =
            CBMix[static_cast<size_t>(r)]->isHidden() ? -1 : CBMix[static_cast<size_t>(r)]->currentIndex();
    entry.Value = MixedObjectValue(shown_, ticked, field, selected);
    entry.Valid = 0;
}

std::optional<ParameterBlock> TZusatzIOEdit::blockToSend(bool second)
{
    const StationPosition &position = d.StationPositions[position_];
    const int channel = IsAnalog() ? TCKanal->currentIndex() : 0;
    std::optional<ParameterBlock> block;
    if (CurrentRecord())
        block = ParameterBlockOf(kind_, moduleId_, position.FirstIndex, position.First32Index, channel, second);
    if (!block)
        ShowErrorMessage(d, LookupMessage(QStringLiteral("@idNO_PARA")));
    return block;
}

void TZusatzIOEdit::ReadBtnClick()
{
    const std::optional<ParameterBlock> block = blockToSend(false);
    if (!block)
        return;
    requestBlock_ = *block;
    requestChannel_ = IsAnalog() ? TCKanal->currentIndex() : 0;
    d.TxLength = BuildParameterReadRequest(d.TxFrame, d.SlaveAddress, requestBlock_);
    ++d.TransactionId;
    exchange_.send(TmReadPara, d.ResponseInterval, d.TxLength);
    ReadBtn->setEnabled(false);
}

void TZusatzIOEdit::reportFailure(ReplyOutcome outcome)
{
    if (outcome == ReplyOutcome::TimedOut)
        ShowErrorMessage(d, QStringLiteral("Timeout"));
    else if (outcome == ReplyOutcome::Exception)
        ShowErrorMessage(d, ExceptionText(d.RxFrame[8]));
}

void TZusatzIOEdit::readDone()
{
    ReadBtn->setEnabled(true);
    ReadBtn->setFocus();
}

void TZusatzIOEdit::TmReadParaTimer()
{
    const ReplyOutcome outcome = exchange_.tick(TmReadPara);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome != ReplyOutcome::Data) {
        reportFailure(outcome);
        // After a timeout the button stays as it is until the window opens again.
        if (outcome == ReplyOutcome::Exception)
            readDone();
        return;
    }
    ParameterRecord *record = workRecord(requestChannel_);
    if (record)
        DecodeParameterReply(d.RxFrame, d.RxCount, requestBlock_, *record);
    if (record && IsAnalog() && moduleId_ == StrainGaugeModuleId) {
        sendSecondRead();
        CancelBtn->setFocus();
    } else {
        readDone();
    }
    TCCanObjectChange();
}

void TZusatzIOEdit::sendSecondRead()
{
    const StationPosition &position = d.StationPositions[position_];
    const std::optional<ParameterBlock> block =
        ParameterBlockOf(kind_, moduleId_, position.FirstIndex, position.First32Index, requestChannel_, true);
    if (!block) {
        readDone();
        return;
    }
    requestBlock_ = *block;
    d.TxLength = BuildParameterReadRequest(d.TxFrame, d.SlaveAddress, requestBlock_);
    ++d.TransactionId;
    exchange_.send(TmRead32Para, d.ResponseInterval, d.TxLength);
}

void TZusatzIOEdit::TmRead32ParaTimer()
{
    const ReplyOutcome outcome = exchange_.tick(TmRead32Para);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome == ReplyOutcome::TimedOut) {
        reportFailure(outcome);
        return;
    }
    readDone();
    if (outcome == ReplyOutcome::Exception) {
        reportFailure(outcome);
        return;
    }
    if (ParameterRecord *record = workRecord(requestChannel_))
        DecodeParameterReply(d.RxFrame, d.RxCount, requestBlock_, *record);
    TCCanObjectChange();
}

void TZusatzIOEdit::OKBtnClick()
{
    StationPosition &position = d.StationPositions[position_];
    // A configuration read meanwhile has rebuilt the position for its module:
    // the copies of another module do not belong there.
    if (position.ModuleId == moduleId_) {
        for (int n = 1; n <= channels_; ++n)
            position.ChannelParams[static_cast<size_t>(n)] = WorkChannels[static_cast<size_t>(n)];
        if (IsDigitalKind(kind_))
            position.ModuleParams = WorkModule;
    }
    const std::optional<ParameterBlock> block = blockToSend(false);
    if (!block)
        return;
    // A write gives up a read still waiting: its button is usable again.
    if (exchange_.awaiting(TmReadPara) || exchange_.awaiting(TmRead32Para))
        ReadBtn->setEnabled(true);
    requestBlock_ = *block;
    requestChannel_ = IsAnalog() ? TCKanal->currentIndex() : 0;
    d.TxLength = BuildParameterWriteRequest(d.TxFrame, d.SlaveAddress, requestBlock_, *CurrentRecord());
    ++d.TransactionId;
    exchange_.send(TmWritePara, d.ResponseInterval, d.TxLength);
}

void TZusatzIOEdit::TmWriteParaTimer()
{
    const ReplyOutcome outcome = exchange_.tick(TmWritePara);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    if (outcome != ReplyOutcome::Data) {
        reportFailure(outcome);
        return;
    }
    if (IsAnalog() && moduleId_ == StrainGaugeModuleId)
        sendSecondWrite();
}

void TZusatzIOEdit::sendSecondWrite()
{
    const StationPosition &position = d.StationPositions[position_];
    const std::optional<ParameterBlock> block =
        ParameterBlockOf(kind_, moduleId_, position.FirstIndex, position.First32Index, requestChannel_, true);
    // The values as stored by the write, where the position still holds them.
    const int n = requestChannel_ + 1;
    const ParameterRecord *record = position.ModuleId == moduleId_ && n >= 1 && n <= MaxRecordChannels &&
                                            position.ChannelParams[static_cast<size_t>(n)]
                                        ? &*position.ChannelParams[static_cast<size_t>(n)]
                                        : workRecord(requestChannel_);
    if (!block || !record)
        return;
    requestBlock_ = *block;
    d.TxLength = BuildParameterWriteRequest(d.TxFrame, d.SlaveAddress, requestBlock_, *record);
    ++d.TransactionId;
    exchange_.send(TmWrite32Para, d.ResponseInterval, d.TxLength);
}

void TZusatzIOEdit::TmWrite32ParaTimer()
{
    const ReplyOutcome outcome = exchange_.tick(TmWrite32Para);
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    reportFailure(outcome);
}

void TZusatzIOEdit::CancelBtnClick()
{
    exchange_.cancel();
    for (auto &channel : WorkChannels)
        channel.reset();
    WorkModule.reset();
    reject();
}

void TZusatzIOEdit::showEvent(QShowEvent *event)
{
    TForm::showEvent(event);
    // Centred on the main window.
    if (const QWidget *main = ProgramMainWindow())
        move(main->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

bool TZusatzIOEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EMix0) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                PMixObjChange();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && EMix0->isVisible()) {
            PMixObjChange();
        }
    }
    return TForm::eventFilter(watched, event);
}

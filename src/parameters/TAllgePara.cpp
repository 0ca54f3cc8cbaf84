#include "parameters/TAllgePara.h"

#include "app/Conversions.h"
#include "app/Deklarat.h"
#include "app/IniFile.h"
#include "app/Messages.h"
#include "app/Named.h"
#include "parameters/AnaIn32Params.h"
#include "parameters/CouplerBlock.h"
#include "parameters/WindowScaling.h"
#include "translation/WordLists.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QSignalBlocker>

#include <algorithm>

namespace
{

const QString Section = QStringLiteral("allgPara");

// German design texts of Label1 .. Label16.
const char *const LabelTexts[] = {"Sekunden",
                                  "Faktor",
                                  "lokale IP-Adresse",
                                  "lokale IP-Mask",
                                  "Zieladresse",
                                  "IP-Netzmask",
                                  "Gateway Adresse",
                                  "Metrik",
                                  "Nummer",
                                  "1",
                                  "2",
                                  "3",
                                  "4",
                                  "5",
                                  "Routingtabelle",
                                  "Adresseinstellungen"};

// An empty group box keeps its size while its elements are hidden.
void keepPlaceWhenHidden(QWidget *w)
{
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

// Changes a field's list without touching the text the user sees there.
template <typename Change> void keepingText(QComboBox *field, Change change)
{
    const QSignalBlocker blocker(field);
    const QString text = field->currentText();
    change();
    if (field->currentText() != text)
        field->setEditText(text);
}

} // namespace

void THistoryComboBox::showPopup()
{
    if (onDropDown)
        onDropDown();
    QComboBox::showPopup();
}

TAllgePara::TAllgePara(Deklarat &d) : TForm(d, QStringLiteral("TAllgePara"), QStringLiteral("Allgemeine Parameter"))
{
    GBoEthernet = named(new QGroupBox(QStringLiteral("Parameter"), this), "GBoEthernet");
    GBoSeriell = named(new QGroupBox(QStringLiteral("Parameter"), this), "GBoSeriell");
    ScrollBox1 = named(new QScrollArea(this), "ScrollBox1");
    ScrollBox1->setWidgetResizable(true);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    for (int n = 1; n <= 16; ++n) {
        QWidget *owner = n <= 2 ? GBoSeriell : GBoEthernet;
        Labels[static_cast<size_t>(n)] =
            named(new QLabel(QString::fromUtf8(LabelTexts[n - 1]), owner), QStringLiteral("Label%1").arg(n));
    }
    CBIpAdresse = addressField(QStringLiteral("CBIpAdresse"));
    CBIpMask = addressField(QStringLiteral("CBIpMask"));
    for (int r = 1; r <= NetworkRoutes; ++r) {
        const auto i = static_cast<size_t>(r);
        CBRoutingIP[i] = addressField(QStringLiteral("CBRoutingIP%1").arg(r));
        CBRoutingMask[i] = addressField(QStringLiteral("CBRoutingMask%1").arg(r));
        CBRoutingGateway[i] = addressField(QStringLiteral("CBRoutingGateway%1").arg(r));
        EdMetric[i] = named(new QLineEdit(GBoEthernet), QStringLiteral("EdMetric%1").arg(r));
    }
    BSetComDefault =
        named(new QPushButton(QString::fromUtf8("Kommunikation zurücksetzen"), GBoEthernet), "BSetComDefault");
    connect(BSetComDefault, &QPushButton::clicked, this, [this] { BSetComDefaultClick(); });

    Edit1 = named(new QLineEdit(GBoSeriell), "Edit1");
    Edit1->setReadOnly(true);
    Edit2 = named(new QLineEdit(QStringLiteral("0"), GBoSeriell), "Edit2");
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });

    Write = named(new QPushButton(QStringLiteral("Schreiben"), this), "Write");
    Read = named(new QPushButton(QStringLiteral("Lesen"), this), "Read");
    Back = named(new QPushButton(QString::fromUtf8("Zurück"), this), "Back");
    for (QPushButton *b : {Write, Read, Back, BSetComDefault})
        b->setAutoDefault(false);
    connect(Write, &QPushButton::clicked, this, [this] { WriteClick(); });
    connect(Read, &QPushButton::clicked, this, [this] { ReadClick(); });
    connect(Back, &QPushButton::clicked, this, [this] { BackClick(); });

    Timer1 = named(new QTimer(this), "Timer1");
    Timer2 = named(new QTimer(this), "Timer2");
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });

    translate(TAllgeParaWords(), WindowFonts::SansSerifThenArial(), 0);
    designLayout();
    FormCreate();
}

THistoryComboBox *TAllgePara::addressField(const QString &name)
{
    auto *field = named(new THistoryComboBox(GBoEthernet), name);
    field->setEditable(true);
    // The history grows only when the list is opened.
    field->setInsertPolicy(QComboBox::NoInsert);
    field->setCompleter(nullptr);
    remembered_[field] = -1;
    connect(field, &QComboBox::editTextChanged, this, [this, field] { CBIpAdresseChange(field); });
    field->onDropDown = [this, field] { CBIpAdresseDropDown(field); };
    return field;
}

std::vector<THistoryComboBox *> TAllgePara::addressFields() const
{
    std::vector<THistoryComboBox *> fields = {CBIpAdresse, CBIpMask};
    for (int r = 1; r <= NetworkRoutes; ++r) {
        const auto i = static_cast<size_t>(r);
        fields.insert(fields.end(), {CBRoutingIP[i], CBRoutingMask[i], CBRoutingGateway[i]});
    }
    return fields;
}

std::vector<QWidget *> TAllgePara::ethernetElements() const
{
    std::vector<QWidget *> elements;
    for (int n = 3; n <= 16; ++n)
        elements.push_back(Label(n));
    for (THistoryComboBox *field : addressFields())
        elements.push_back(field);
    for (int r = 1; r <= NetworkRoutes; ++r)
        elements.push_back(EdMetric[static_cast<size_t>(r)]);
    elements.push_back(BSetComDefault);
    return elements;
}

std::vector<QWidget *> TAllgePara::serialElements() const
{
    return {Edit1, Edit2, Label(1), Label(2)};
}

void TAllgePara::designLayout()
{
    const QFontMetrics fm(font());
    const int h = fm.height();
    const int addressWidth = fm.horizontalAdvance(QStringLiteral("255.255.255.255")) + 3 * h;
    for (THistoryComboBox *field : addressFields())
        field->setMinimumWidth(addressWidth);
    for (int r = 1; r <= NetworkRoutes; ++r)
        EdMetric[static_cast<size_t>(r)]->setFixedWidth(fm.horizontalAdvance(QStringLiteral("655350")) + h);

    auto *ethernet = new QVBoxLayout(GBoEthernet);
    ethernet->setSpacing(h / 2);
    QFont heading = Label(16)->font();
    heading.setBold(true);
    Label(16)->setFont(heading);
    Label(15)->setFont(heading);

    ethernet->addWidget(Label(16));
    auto *local = new QGridLayout;
    local->setHorizontalSpacing(h);
    local->addWidget(Label(3), 0, 0);
    local->addWidget(CBIpAdresse, 0, 1);
    local->addWidget(Label(4), 1, 0);
    local->addWidget(CBIpMask, 1, 1);
    local->setColumnStretch(2, 1);
    ethernet->addLayout(local);
    ethernet->addSpacing(h / 2);

    ethernet->addWidget(Label(15));
    auto *routes = new QGridLayout;
    routes->setHorizontalSpacing(h / 2);
    const int heads[] = {9, 5, 6, 7, 8};
    for (int c = 0; c < 5; ++c)
        routes->addWidget(Label(heads[c]), 0, c);
    for (int r = 1; r <= NetworkRoutes; ++r) {
        const auto i = static_cast<size_t>(r);
        QLabel *number = Label(9 + r);
        number->setAlignment(Qt::AlignCenter);
        routes->addWidget(number, r, 0);
        routes->addWidget(CBRoutingIP[i], r, 1);
        routes->addWidget(CBRoutingMask[i], r, 2);
        routes->addWidget(CBRoutingGateway[i], r, 3);
        routes->addWidget(EdMetric[i], r, 4);
    }
    ethernet->addLayout(routes);
    ethernet->addSpacing(h / 2);
    auto *reset = new QHBoxLayout;
    reset->addWidget(BSetComDefault);
    reset->addStretch(1);
    ethernet->addLayout(reset);
    ethernet->addStretch(1);

    auto *serial = new QGridLayout(GBoSeriell);
    serial->setHorizontalSpacing(h / 2);
    const int valueWidth = fm.horizontalAdvance(QStringLiteral("34.143735")) + 2 * h;
    Edit1->setFixedWidth(valueWidth);
    Edit2->setFixedWidth(valueWidth);
    serial->addWidget(Edit1, 0, 0);
    serial->addWidget(Label(1), 0, 1);
    serial->addWidget(Edit2, 1, 0);
    serial->addWidget(Label(2), 1, 1);
    GBoSeriell->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    auto *top = new QVBoxLayout(this);
    top->setContentsMargins(h, h, h, h);
    top->setSpacing(h);
    // Only one of the two groups is shown, in the same place; they scroll
    // when the screen has no room for them.
    auto *inner = new QWidget;
    inner->setObjectName(QStringLiteral("ParameterGroups"));
    auto *groups = new QGridLayout(inner);
    groups->setContentsMargins(0, 0, 0, 0);
    groups->addWidget(GBoEthernet, 0, 0);
    groups->addWidget(GBoSeriell, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidget(inner);
    top->addWidget(ScrollBox1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const int buttonWidth = fm.horizontalAdvance(QStringLiteral("Schreiben")) + 3 * h;
    for (QPushButton *b : {Write, Read, Back}) {
        b->setMinimumWidth(buttonWidth);
        keepPlaceWhenHidden(b);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);

    // Shown by the activation once a configuration is there.
    for (QWidget *w : ethernetElements()) {
        keepPlaceWhenHidden(w);
        w->hide();
    }
    GBoSeriell->hide();
    for (QPushButton *b : {Write, Read, Back})
        b->hide();
    resize(SizeWithAllRows(this, ScrollBox1));
}

void TAllgePara::FormCreate()
{
    const ScreenArea screen = ScreenAreaFor(d.ForcedScreenSize);
    ApplyWindowScaling(this, screen.size);
    FitWindow(this, ScrollBox1, screen);
    seedLists();
    readSettings();
}

void TAllgePara::seedLists()
{
    const QString any = QStringLiteral("0.0.0.0");
    CBIpMask->addItems({QStringLiteral("255.255.255.255"), QStringLiteral("255.255.0.0")});
    for (int r = 1; r <= NetworkRoutes; ++r) {
        const auto i = static_cast<size_t>(r);
        CBRoutingIP[i]->addItem(any);
        CBRoutingGateway[i]->addItem(any);
        CBRoutingMask[i]->addItems({any, QStringLiteral("255.255.255.0"), QStringLiteral("255.255.0.0")});
    }
}

void TAllgePara::readSettings()
{
    const IniFile ini(d.SettingsPath);
    auto read = [&ini](const QString &key, const char *fallback) {
        return ini.readString(Section, key, QString::fromLatin1(fallback));
    };
    CBIpAdresse->setEditText(read(QStringLiteral("lokalIp"), "192.168.0.1"));
    CBIpMask->setEditText(read(QStringLiteral("lokalIpMask"), "255.255.255.0"));
    for (int r = 1; r <= NetworkRoutes; ++r) {
        const auto i = static_cast<size_t>(r);
        const QString n = QString::number(r);
        CBRoutingIP[i]->setEditText(read(QStringLiteral("DestIp") + n, "192.168.0.1"));
        CBRoutingMask[i]->setEditText(read(QStringLiteral("IpNetmask") + n, "255.255.255.255"));
        CBRoutingGateway[i]->setEditText(read(QStringLiteral("Gateway") + n, "192.168.0.1"));
        EdMetric[i]->setText(read(QStringLiteral("Metric") + n, "0"));
    }
}

void TAllgePara::FormActivate()
{
    if (d.StationConfig.ConfigValid != 1) {
        showError(LookupMessage(QStringLiteral("@idERR_CONF")));
        // Nothing was asked: the reply timer finds no reply of this window and
        // takes nothing from whatever the line carried.
        Timer1->start(d.ResponseInterval);
        return;
    }
    for (QPushButton *b : {Read, Write, Back})
        b->show();
    if (d.EthernetSelected == 1) {
        GBoEthernet->show();
        for (QWidget *w : ethernetElements())
            w->show();
        GBoSeriell->hide();
        return;
    }
    GBoSeriell->show();
    for (QWidget *w : serialElements())
        w->show();
    GBoEthernet->hide();
    Edit1->setText(QStringLiteral("0"));
    Edit2->setText(QStringLiteral("0"));
    SerialTimeRaw = 0; // also when Edit2 showed "0" already
}

void TAllgePara::showError(const QString &text)
{
    ShowErrorMessage(d, text);
}

void TAllgePara::conversionError(const QString &text)
{
    ReportConversionError(d, text);
}

void TAllgePara::ReadClick()
{
    // Neither request carries a transaction identifier of its own.
    if (d.EthernetSelected == 1) {
        d.TxLength = BuildNetworkReadRequest(d.TxFrame, d.SlaveAddress);
        pending_ = Request::ReadEthernet;
    } else {
        d.TxLength = BuildSerialTimeReadRequest(d.TxFrame, d.SlaveAddress);
        pending_ = Request::ReadSerial;
    }
    exchange_.send(Timer1, d.ResponseInterval, d.TxLength);
}

void TAllgePara::Timer1Timer()
{
    if (pending_ != Request::ReadEthernet && pending_ != Request::ReadSerial) {
        Timer1->stop();
        return;
    }
    const ReplyOutcome outcome = exchange_.tick();
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    const Request request = pending_;
    pending_ = Request::None;
    if (outcome == ReplyOutcome::TimedOut) {
        showError(QStringLiteral("Timeout"));
        return;
    }
    if (outcome == ReplyOutcome::Exception) {
        showError(BareExceptionText(d.RxFrame[8]));
        return;
    }
    // The reply has the shape of what was asked, whatever the link is now.
    if (request == Request::ReadEthernet) {
        NetworkBlock block;
        if (DecodeNetworkReply(d.RxFrame, d.RxCount, block))
            showBlock(block);
    } else {
        quint16 raw = 0;
        if (DecodeSerialTimeReply(d.RxFrame, d.RxCount, raw))
            showSerialTime(raw);
    }
}

void TAllgePara::showBlock(const NetworkBlock &block)
{
    CBIpAdresse->setEditText(AddressText(block.localAddress));
    CBIpMask->setEditText(AddressText(block.localMask));
    for (int r = 1; r <= NetworkRoutes; ++r) {
        const auto i = static_cast<size_t>(r);
        const NetworkRoute &route = block.routes[i - 1];
        CBRoutingIP[i]->setEditText(AddressText(route.destination));
        CBRoutingMask[i]->setEditText(AddressText(route.mask));
        CBRoutingGateway[i]->setEditText(AddressText(route.gateway));
        EdMetric[i]->setText(QString::number(route.metric));
    }
}

void TAllgePara::showSerialTime(quint16 raw)
{
    SerialTimeRaw = raw;
    Edit1->setText(QString::number(raw));
    // Its change handler takes the seconds back into the same count.
    Edit2->setText(SerialSecondsText(raw, QLocale::system()));
}

bool TAllgePara::collectBlock(NetworkBlock &block)
{
    auto take = [](QComboBox *field) {
        const IpOctets octets = AddressOctets(field->currentText());
        field->setEditText(AddressText(octets));
        return octets;
    };
    block.localAddress = take(CBIpAdresse);
    block.localMask = take(CBIpMask);
    for (int r = 1; r <= NetworkRoutes; ++r) {
        const auto i = static_cast<size_t>(r);
        NetworkRoute &route = block.routes[i - 1];
        route.destination = take(CBRoutingIP[i]);
        route.mask = take(CBRoutingMask[i]);
        route.gateway = take(CBRoutingGateway[i]);
        const QString text = EdMetric[i]->text();
        const std::optional<quint16> metric = ParseMetric(text);
        if (!metric) {
            conversionError(
                IntegerReadingError(text, ReadIntegerText(text, MetricMin, MetricMax), MetricMin, MetricMax));
            return false;
        }
        route.metric = *metric;
    }
    return true;
}

void TAllgePara::WriteClick()
{
    if (d.EthernetSelected == 1) {
        NetworkBlock block;
        if (!collectBlock(block))
            return;
        d.TxLength = BuildNetworkWriteRequest(d.TxFrame, d.SlaveAddress, block);
    } else {
        d.TxLength = BuildSerialTimeWriteRequest(d.TxFrame, d.SlaveAddress, SerialTimeRaw);
    }
    pending_ = Request::Write;
    exchange_.send(Timer2, d.ResponseInterval, d.TxLength);
}

void TAllgePara::BSetComDefaultClick()
{
    // The reset belongs to the network block: over the serial line it is not sent.
    if (d.EthernetSelected != 1) {
        showError(LookupMessage(QStringLiteral("@idERR_ETH")));
        return;
    }
    d.TxLength = BuildCommResetRequest(d.TxFrame, d.SlaveAddress);
    pending_ = Request::Reset;
    exchange_.send(Timer2, d.ResponseInterval, d.TxLength);
}

void TAllgePara::Timer2Timer()
{
    if (pending_ != Request::Write && pending_ != Request::Reset) {
        Timer2->stop();
        return;
    }
    const ReplyOutcome outcome = exchange_.tick();
    if (outcome == ReplyOutcome::Idle || outcome == ReplyOutcome::Pending)
        return;
    pending_ = Request::None;
    if (outcome == ReplyOutcome::TimedOut)
        showError(QStringLiteral("Timeout"));
    else if (outcome == ReplyOutcome::Exception)
        showError(ExceptionText(d.RxFrame[8]));
}

void TAllgePara::BackClick()
{
    close();
}

void TAllgePara::Edit2Change()
{
    const QString text = Edit2->text();
    const SerialSeconds s = SerialSecondsOf(text, QLocale::system());
    switch (s.kind) {
    case SerialSeconds::NotANumber:
        conversionError(InvalidFloatText(text));
        return;
    case SerialSeconds::TooLarge:
        showError(LookupMessage(QStringLiteral("@idERR_TOO")));
        break;
    case SerialSeconds::Negative:
        showError(LookupMessage(QStringLiteral("@idERR_NEG")));
        break;
    case SerialSeconds::Taken:
        SerialTimeRaw = s.raw;
        break;
    }
    Edit1->setText(QString::number(SerialTimeRaw));
}

int TAllgePara::rememberedIndex(QComboBox *field) const
{
    const auto it = remembered_.find(field);
    return it == remembered_.end() ? -1 : it->second;
}

void TAllgePara::CBIpAdresseChange(QComboBox *field)
{
    remembered_[field] = field->findText(field->currentText());
}

void TAllgePara::CBIpAdresseDropDown(QComboBox *field)
{
    const QString text = field->currentText();
    if (text.isEmpty()) {
        const int index = rememberedIndex(field);
        if (index >= 0 && index < field->count())
            keepingText(field, [&] { field->removeItem(index); });
        remembered_[field] = -1;
        return;
    }
    if (field->findText(text) >= 0)
        return;
    keepingText(field, [&] {
        int at = field->count();
        if (field == CBIpAdresse) {
            // This list is kept sorted.
            at = 0;
            while (at < field->count() && field->itemText(at).compare(text, Qt::CaseInsensitive) <= 0)
                ++at;
        }
        field->insertItem(at, text);
    });
}

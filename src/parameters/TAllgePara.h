#pragma once
// The general parameter window: the coupler's communication parameters. Over
// Ethernet its own address and mask and five routes, and the reset of its
// communication settings; over the serial line one time value.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "parameters/NetworkParams.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <vector>

// An address field: an editable combo box that tells its window when its list
// is about to open, so that the window can keep the history first.
class THistoryComboBox : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> onDropDown;
    void showPopup() override;
};

class TAllgePara : public TForm
{
    Q_OBJECT
public:
    explicit TAllgePara(Deklarat &d);

    QGroupBox *GBoEthernet;
    QGroupBox *GBoSeriell;
    QScrollArea *ScrollBox1; // holds both groups, scrolled on a small screen
    // Label1 .. Label16; element 0 is unused.
    std::array<QLabel *, 17> Labels{};
    THistoryComboBox *CBIpAdresse;
    THistoryComboBox *CBIpMask;
    // Routes 1..5; element 0 is unused.
    std::array<THistoryComboBox *, NetworkRoutes + 1> CBRoutingIP{};
    std::array<THistoryComboBox *, NetworkRoutes + 1> CBRoutingMask{};
    std::array<THistoryComboBox *, NetworkRoutes + 1> CBRoutingGateway{};
    std::array<QLineEdit *, NetworkRoutes + 1> EdMetric{};
    QPushButton *BSetComDefault;
    QLineEdit *Edit1; // the time value as the coupler counts it
    QLineEdit *Edit2; // the same in seconds
    QPushButton *Write;
    QPushButton *Read;
    QPushButton *Back;
    QTimer *Timer1; // read reply
    QTimer *Timer2; // write and reset replies

    quint16 SerialTimeRaw = 0;
    // Shared by both reply timers.
    int TickCounter = 0;

    QLabel *Label(int n) const { return Labels[static_cast<size_t>(n)]; }
    // The 17 address fields in the order of the coupler's block.
    std::vector<THistoryComboBox *> addressFields() const;
    // The remembered list index of an address field (-1: none).
    int rememberedIndex(QComboBox *field) const;

    void FormCreate();
    void FormActivate();
    void ReadClick();
    void WriteClick();
    void BSetComDefaultClick();
    void Timer1Timer();
    void Timer2Timer();
    void BackClick();
    void Edit2Change();
    // Shared by the 17 address fields.
    void CBIpAdresseChange(QComboBox *field);
    void CBIpAdresseDropDown(QComboBox *field);

protected:
    void activated() override { FormActivate(); }

private:
    THistoryComboBox *addressField(const QString &name);
    void designLayout();
    void seedLists();
    void readSettings();
    std::vector<QWidget *> ethernetElements() const;
    std::vector<QWidget *> serialElements() const;
    // The fields into the block, each address field normalised on the way;
    // false after the conversion error of a metric that is no integer.
    bool collectBlock(NetworkBlock &block);
    void showBlock(const NetworkBlock &block);
    void showSerialTime(quint16 raw);
    // Every box of the window, so that its return is no new activation.
    void showError(const QString &text);
    void conversionError(const QString &text);

    enum class Request { None, ReadEthernet, ReadSerial, Write, Reset };
    Request pending_ = Request::None;
    std::map<const QComboBox *, int> remembered_;
    Exchange exchange_{d, TickCounter};
};

#pragma once
// The parameter window of the 32-bit analog input (strain gauge) channels:
// reads, shows, edits and writes their parameter block.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "parameters/AnaIn32Frames.h"
#include "parameters/AnaIn32Params.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

class IntegerField;

#include <array>
#include <vector>

// The 14 controls of channel row k; their names carry k ("Typ3", "PV1_3").
struct TAnaIn32Row {
    QLabel *Label = nullptr;
    QLineEdit *Typ = nullptr;
    QLineEdit *Edit = nullptr;
    QScrollBar *ScrollBar = nullptr;
    QCheckBox *CbAktiv = nullptr;
    QCheckBox *CbSpike = nullptr;
    QCheckBox *CbScale = nullptr;
    QCheckBox *CbFormat = nullptr;
    QCheckBox *CbValue = nullptr;
    QComboBox *CoBoAus = nullptr;
    QComboBox *CoBoFormat = nullptr;
    QLineEdit *PV1_ = nullptr;
    QLineEdit *PV2_ = nullptr;
    QLineEdit *FV2_ = nullptr;
    IntegerField *FilterField = nullptr; // Edit
    IntegerField *PV1_Field = nullptr;
    IntegerField *PV2_Field = nullptr;
    IntegerField *FV2_Field = nullptr;

    std::vector<QWidget *> controls() const;
};

class TParaAnaIn32Bit : public TForm
{
    Q_OBJECT
public:
    explicit TParaAnaIn32Bit(Deklarat &d);

    QGroupBox *GroupBox1;
    QScrollArea *ScrollBox1; // holds GroupBox1, scrolled on a small screen
    // Rows 1..16; element 0 is unused.
    std::array<TAnaIn32Row, AnaIn32Channels + 1> Row;
    // Column headings: Label17 "Typ" .. Label33 "FeldWert".
    std::array<QLabel *, 17> Headings{};
    QPlainTextEdit *Memo1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Back;
    QTimer *Timer1; // read reply
    QTimer *Timer3; // write reply

    // The records of the channels, 1..16 as elements 0..15.
    AnaIn32Block AnaIn32Params{};
    // Shared by both reply timers.
    int TickCounter = 0;

    void FormCreate();
    // Public for the automatic start, which runs both without showing the window.
    void FormActivate();
    void ReadAnaInClick();
    void Timer1Timer();
    void WriteAnaInClick();
    void Timer3Timer();
    void BackClick();

    void ScrollBarChange(int k);
    void EditChange(int k);
    void CoBoAusChange(int k);
    void CoBoFormatChange(int k);
    void PV1_Change(int k);
    void PV2_Change(int k);
    void FV2_Change(int k);

    // Shows all 16 records in their rows.
    void ShowRecords();

    QLabel *Heading(int number) const { return Headings[static_cast<size_t>(number - 17)]; }

protected:
    void showEvent(QShowEvent *event) override;
    void activated() override { FormActivate(); }

private:
    void buildRow(int k);
    void designLayout();
    void sendRead();
    void sendWrite();
    // A signed 32-bit field of the row.
    IntegerField *valueField(QLineEdit *edit, qint32 &value);
    // A row to be written whose field holds no value: said, and true.
    bool refuseUnwritable(int n);
    void addMemoLine(const QString &line);

    // The requests still to be sent for the running read or write, one after
    // the other; a 16-channel block needs two.
    bool editMovesBar_ = false; // a bar moved by its edit leaves the edit as typed
    std::vector<ChannelRange> readChunks_;
    size_t readNext_ = 0;
    AnaIn32Block readStaging_{}; // taken over only once every chunk arrived
    std::vector<ChannelRange> writeChunks_;
    size_t writeNext_ = 0;
    Exchange exchange_{d, TickCounter};
};

#pragma once
// The parameter window of the 16-bit analog input channels: reads, shows,
// edits and writes their sensor type, filter, offset, unit and switches.
#include "app/TForm.h"
#include "link/Exchange.h"
#include "parameters/AnaInParams.h"
#include "parameters/ChannelLimitNotice.h"

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

// The ten controls of channel row k; their names carry k ("ComboBox3", "Offset3").
struct TAnaInRow {
    QLabel *Label = nullptr;
    QComboBox *ComboBox = nullptr;
    QLineEdit *Edit = nullptr;
    QScrollBar *ScrollBar = nullptr;
    QCheckBox *CbAktiv = nullptr;
    QCheckBox *CbSpike = nullptr;
    QCheckBox *CbScale = nullptr;
    QComboBox *CoBoUnit = nullptr;
    QLineEdit *Offset = nullptr;
    QScrollBar *ScrollBarOffset = nullptr;
    IntegerField *FilterField = nullptr; // Edit
    IntegerField *OffsetField = nullptr; // Offset

    std::vector<QWidget *> controls() const;
};

class TParaAna : public TForm
{
    Q_OBJECT
public:
    explicit TParaAna(Deklarat &d);

    QGroupBox *ana_Para_In;
    QScrollArea *ScrollBox1; // holds ana_Para_In, scrolled on a small screen
    // Rows 1..16; element 0 is unused.
    std::array<TAnaInRow, AnaInChannels + 1> Row;
    // Column headings Label17 "Typ" .. Label24 "Offset Prozesswert".
    std::array<QLabel *, 8> Headings{};
    QPlainTextEdit *Memo1;
    QPushButton *Button1; // write
    QPushButton *Button2; // read
    QPushButton *Back;
    QTimer *Timer1; // read reply
    QTimer *Timer3; // write reply

    AnaInBlock AnaInParams{};
    // Shared by both reply timers.
    int TickCounter = 0;

    void FormCreate();
    void FormActivate();
    void ReadAnaInClick();
    void Timer1Timer();
    void Update_Anzeige();
    void WriteAnaInClick();
    void Timer3Timer();
    void BackClick();

    void ComboBoxChange(int k);
    void CoBoUnitChange(int k);
    void ScrollBarChange(int k);
    void EditChange(int k);
    void ScrollBarOffsetChange(int k);
    void OffsetChange(int k);

    QLabel *Heading(int number) const { return Headings[static_cast<size_t>(number - 17)]; }

protected:
    void activated() override { FormActivate(); }

private:
    void buildRow(int k);
    void designLayout();
    void addMemoLine(const QString &line);
    // The scroll bar half of a filter or offset pair.
    void barChanged(QScrollBar *bar, QLineEdit *edit, qint32 &value);
    // The edit half: a number within the bar's range into the bar and the record.
    IntegerField *numberField(QLineEdit *edit, QScrollBar *bar, qint32 &value);
    // A row to be written whose field holds no value: said, and true.
    bool refuseUnwritable(int n);
    // The bar shows a limited value: the record takes what is shown.
    void takeLimited(QScrollBar *bar, QLineEdit *edit, qint32 &value);
    int channels() const;
    void reportChannelLimit();

    bool editMovesBar_ = false; // a bar moved by its edit leaves the edit as typed
    int readChannels_ = 0;
    ChannelLimitNotice channelLimit_;
    Exchange exchange_{d, TickCounter};
};

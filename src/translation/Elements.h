#pragma once
// Window elements whose kind the translation pass must tell apart and that Qt
// has no exact counterpart for.
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QObject>
#include <QRadioButton>
#include <QStatusBar>
#include <QStringList>
#include <vector>

// A status bar with fixed-width text panels and a simple text.
class TStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit TStatusBar(QWidget *parent = nullptr);
    // The last panel of a bar takes the rest of the width, as the platform's
    // status bars do; `width` is then its least width.
    void addPanel(int width, bool fillRest = false);
    int panelCount() const { return static_cast<int>(panels_.size()); }
    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);
    QString simpleText() const { return simpleText_; }
    void setSimpleText(const QString &text) { simpleText_ = text; }
    QLabel *panel(int index) const;

private:
    std::vector<QLabel *> panels_;
    QString simpleText_;
};

// A captioned group of radio buttons, one per item.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget *parent = nullptr);
    void setItems(const QStringList &items);
    int itemCount() const { return static_cast<int>(buttons_.size()); }
    QString itemText(int index) const;
    void setItemText(int index, const QString &text);
    int itemIndex() const;
    void setItemIndex(int index);

signals:
    void clicked(int index);

private:
    std::vector<QRadioButton *> buttons_;
};

// An open-file dialog component: title and filter live with the window.
class TOpenDialog : public QObject
{
    Q_OBJECT
public:
    explicit TOpenDialog(QObject *parent = nullptr);
    QString title;
    QString filter;
    // Asks for a file; empty when cancelled.
    QString execute(QWidget *parent, const QString &folder = QString()) const;
};

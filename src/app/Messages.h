#pragma once
// Every message box and every conversion error of the program goes through here,
// so that tests can capture them instead of blocking on a modal box.
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <vector>

enum class MessageKind { Error, Information, Warning, Confirmation };

struct MessageRequest {
    MessageKind kind = MessageKind::Information;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    // Shown without waiting for the user (a notice), see MessageSink::notice.
    bool notice = false;
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // Returns the button the user chose.
    virtual QMessageBox::StandardButton show(const MessageRequest &request) = 0;
    // The general error dialog for text that does not convert to a number.
    virtual void conversionError(const QString &text) = 0;
    // A box that does not wait for the user: it runs no event loop of its own,
    // so it may be shown from inside a socket's or port's signal, and a new
    // notice replaces the one still open.
    virtual void notice(const MessageRequest &request) = 0;
};

// Shows real modal boxes.
class DialogMessageSink : public MessageSink
{
public:
    ~DialogMessageSink() override;
    QMessageBox::StandardButton show(const MessageRequest &request) override;
    void conversionError(const QString &text) override;
    void notice(const MessageRequest &request) override;
    // The notice box on screen, or null.
    QMessageBox *openNotice() const { return notice_; }

private:
    QPointer<QMessageBox> notice_;
};

// Records boxes and answers them with a fixed button; used by tests and by
// unattended runs where nobody could press a button.
class RecordingMessageSink : public MessageSink
{
public:
    QMessageBox::StandardButton show(const MessageRequest &request) override;
    void conversionError(const QString &text) override;
    // Recorded in `boxes` with `notice` set.
    void notice(const MessageRequest &request) override;
    void clear();

    std::vector<MessageRequest> boxes;
    std::vector<QString> conversionErrors;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};

class Deklarat;

QMessageBox::StandardButton ShowMessage(Deklarat &d, MessageKind kind, const QString &caption, const QString &text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// A notice box (see MessageSink::notice).
void ShowNotice(Deklarat &d, MessageKind kind, const QString &caption, const QString &text);
// An error box with the common error caption of the interface window.
void ShowErrorMessage(Deklarat &d, const QString &text);
void ReportConversionError(Deklarat &d, const QString &text);
// A recording that could not go to the current folder: where it went instead.
void ShowOutputFolderMessage(Deklarat &d, const QString &path);

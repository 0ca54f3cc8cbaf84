#pragma once
// Every message box and every conversion error of the program goes through here,
// so that tests can capture them instead of blocking on a modal box.
#include <QString>
#include <vector>

enum class MessageKind { Error, Information, Warning, Confirmation };

// A box's buttons, as a set of flags; the values are the toolkit's own, so a
// window may pass its standard buttons straight through.
using MessageButton = unsigned;
namespace Button
{
inline constexpr MessageButton None = 0;
inline constexpr MessageButton Ok = 0x00000400;
inline constexpr MessageButton Yes = 0x00004000;
inline constexpr MessageButton No = 0x00010000;
inline constexpr MessageButton Cancel = 0x00400000;
} // namespace Button

struct MessageRequest {
    MessageKind kind = MessageKind::Information;
    QString caption;
    QString text;
    MessageButton buttons = Button::Ok;
    // Shown without waiting for the user (a notice), see MessageSink::notice.
    bool notice = false;
};

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // Returns the button the user chose.
    virtual MessageButton show(const MessageRequest &request) = 0;
    // The general error dialog for text that does not convert to a number.
    virtual void conversionError(const QString &text) = 0;
    // A box that does not wait for the user: it runs no event loop of its own,
    // so it may be shown from inside a socket's or port's signal, and a new
    // notice replaces the one still open.
    virtual void notice(const MessageRequest &request) = 0;
};

// Writes boxes to standard error; the default where no window shows them.
class ConsoleMessageSink : public MessageSink
{
public:
    MessageButton show(const MessageRequest &request) override;
    void conversionError(const QString &text) override;
    void notice(const MessageRequest &request) override;
};

// Records boxes and answers them with a fixed button; used by tests and by
// unattended runs where nobody could press a button.
class RecordingMessageSink : public MessageSink
{
public:
    MessageButton show(const MessageRequest &request) override;
    void conversionError(const QString &text) override;
    // Recorded in `boxes` with `notice` set.
    void notice(const MessageRequest &request) override;
    void clear();

    std::vector<MessageRequest> boxes;
    std::vector<QString> conversionErrors;
    MessageButton answer = Button::Ok;
};

class Deklarat;

MessageButton ShowMessage(Deklarat &d, MessageKind kind, const QString &caption, const QString &text,
                          MessageButton buttons = Button::Ok);
// A notice box (see MessageSink::notice).
void ShowNotice(Deklarat &d, MessageKind kind, const QString &caption, const QString &text);
// An error box with the common error caption of the interface window.
void ShowErrorMessage(Deklarat &d, const QString &text);
void ReportConversionError(Deklarat &d, const QString &text);
// A recording that could not go to the current folder: where it went instead.
void ShowOutputFolderMessage(Deklarat &d, const QString &path);

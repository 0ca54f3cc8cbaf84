#pragma once
// The message boxes of the desktop program: real dialogs.
#include "app/Messages.h"

#include <QMessageBox>
#include <QPointer>

// Shows real modal boxes, and notices as boxes that do not wait.
class DialogMessageSink : public MessageSink
{
public:
    ~DialogMessageSink() override;
    MessageButton show(const MessageRequest &request) override;
    void conversionError(const QString &text) override;
    void notice(const MessageRequest &request) override;
    // The notice box on screen, or null.
    QMessageBox *openNotice() const { return notice_; }

private:
    QPointer<QMessageBox> notice_;
};

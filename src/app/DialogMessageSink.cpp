#include "app/DialogMessageSink.h"

namespace
{

QMessageBox::Icon IconOf(MessageKind kind)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case MessageKind::Error:
        icon = QMessageBox::Critical;
        break;
    case MessageKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case MessageKind::Confirmation:
        icon = QMessageBox::Question;
        break;
    case MessageKind::Information:
        icon = QMessageBox::Information;
        break;
    }
    return icon;
}

} // namespace

DialogMessageSink::~DialogMessageSink()
{
    delete notice_.data();
}

MessageButton DialogMessageSink::show(const MessageRequest &request)
{
    QMessageBox box(IconOf(request.kind), request.caption, request.text,
                    QMessageBox::StandardButtons(static_cast<int>(request.buttons)));
    return static_cast<MessageButton>(box.exec());
}

void DialogMessageSink::conversionError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok);
    box.exec();
}

void DialogMessageSink::notice(const MessageRequest &request)
{
    // One at a time: a link that comes and goes would otherwise pile them up.
    if (notice_) {
        notice_->setText(request.text);
        notice_->setWindowTitle(request.caption);
        notice_->setIcon(IconOf(request.kind));
        notice_->raise();
        return;
    }
    auto *box = new QMessageBox(IconOf(request.kind), request.caption, request.text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    notice_ = box;
    box->show();
}

#include "app/Messages.h"

#include "app/Deklarat.h"
#include "link/TSIOTransfer.h"

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

QMessageBox::StandardButton DialogMessageSink::show(const MessageRequest &request)
{
    QMessageBox box(IconOf(request.kind), request.caption, request.text, request.buttons);
    return static_cast<QMessageBox::StandardButton>(box.exec());
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

QMessageBox::StandardButton RecordingMessageSink::show(const MessageRequest &request)
{
    boxes.push_back(request);
    return answer;
}

void RecordingMessageSink::conversionError(const QString &text)
{
    conversionErrors.push_back(text);
}

void RecordingMessageSink::notice(const MessageRequest &request)
{
    MessageRequest shown = request;
    shown.notice = true;
    boxes.push_back(shown);
}

void RecordingMessageSink::clear()
{
    boxes.clear();
    conversionErrors.clear();
}

QMessageBox::StandardButton ShowMessage(Deklarat &d, MessageKind kind, const QString &caption, const QString &text,
                                        QMessageBox::StandardButtons buttons)
{
    const OpenBox open(d.activation());
    return d.messages().show(MessageRequest{kind, caption, text, buttons});
}

void ShowNotice(Deklarat &d, MessageKind kind, const QString &caption, const QString &text)
{
    MessageRequest request{kind, caption, text, QMessageBox::Ok};
    request.notice = true;
    d.messages().notice(request);
}

void ShowErrorMessage(Deklarat &d, const QString &text)
{
    ShowMessage(d, MessageKind::Error, d.errorCaption(), text);
}

void ReportConversionError(Deklarat &d, const QString &text)
{
    const OpenBox open(d.activation());
    d.messages().conversionError(text);
}

void ShowOutputFolderMessage(Deklarat &d, const QString &path)
{
    const QString id = QStringLiteral("@idFILE_DOCS");
    const QString text = d.SIOTransfer ? d.SIOTransfer->LookupMessage(id) : id.toLower();
    ShowMessage(d, MessageKind::Information, QStringLiteral("vo3112ccc"), text + QLatin1Char('\n') + path);
}

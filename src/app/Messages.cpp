#include "app/Messages.h"

#include "app/Deklarat.h"
#include "link/TSIOTransfer.h"

QMessageBox::StandardButton DialogMessageSink::show(const MessageRequest &request)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (request.kind) {
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
    QMessageBox box(icon, request.caption, request.text, request.buttons);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void DialogMessageSink::conversionError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QString(), text, QMessageBox::Ok);
    box.exec();
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

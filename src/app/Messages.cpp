#include "app/Messages.h"

#include "app/CoreTexts.h"
#include "app/Deklarat.h"

#include <cstdio>

MessageButton ConsoleMessageSink::show(const MessageRequest &request)
{
    notice(request);
    // Nobody can answer: a question is declined, never confirmed.
    if (request.buttons & Button::No)
        return Button::No;
    if (request.buttons & Button::Cancel)
        return Button::Cancel;
    return Button::Ok;
}

void ConsoleMessageSink::conversionError(const QString &text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

void ConsoleMessageSink::notice(const MessageRequest &request)
{
    if (request.caption.isEmpty())
        std::fprintf(stderr, "%s\n", qUtf8Printable(request.text));
    else
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(request.caption), qUtf8Printable(request.text));
}

MessageButton RecordingMessageSink::show(const MessageRequest &request)
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

MessageButton ShowMessage(Deklarat &d, MessageKind kind, const QString &caption, const QString &text,
                          MessageButton buttons)
{
    const OpenBox open(d.activation());
    return d.messages().show(MessageRequest{kind, caption, text, buttons});
}

void ShowNotice(Deklarat &d, MessageKind kind, const QString &caption, const QString &text)
{
    MessageRequest request{kind, caption, text, Button::Ok};
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
    const QString text = CoreText(id, d.CurrentLanguage);
    ShowMessage(d, MessageKind::Information, QStringLiteral("vo3112ccc"), text + QLatin1Char('\n') + path);
}

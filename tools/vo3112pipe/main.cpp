// vo3112pipe: one request to the pipe of a running vo3112ccc, the response printed.
#include "process/PipeClient.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    const PipeClientOptions options = ParsePipeClientArguments(arguments);
    if (options.help) {
        std::fputs(qPrintable(PipeClientUsage()), stdout);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "vo3112pipe: %s\n%s", qPrintable(options.error), qPrintable(PipeClientUsage()));
        return 2;
    }
    const PipeMessage request = BuildPipeRequest(options.outputs, options.restart ? 0x01 : 0x00);
    std::optional<PipeMessage> response;
    QString error;
    for (int i = 0; i < options.repeat; ++i) {
        response = ExchangePipeMessage(options.pipeName, request, options.timeoutMs, &error);
        if (!response) {
            std::fprintf(stderr, "vo3112pipe: %s\n", qPrintable(error));
            return 1;
        }
    }
    std::fputs(qPrintable(FormatPipeResponse(ParsePipeResponse(*response), options.machine)), stdout);
    return 0;
}

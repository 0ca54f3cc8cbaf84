#include "OneWindow.h"

#include "app/Conversions.h"
#include "app/UserFiles.h"
#include "station/ModuleNames.h"

void RecordingStatus::setStatusPanel(int panel, const QString &text)
{
    if (panel >= 0 && panel < int(panels.size()))
        panels[size_t(panel)] = text;
}

void RecordingStatus::ShowSlaveAddress()
{
    panels[0] = QStringLiteral(" Slaveadress: ") + HexText(d.SlaveAddress, 2);
}

QString RecordingStatus::panelText(int panel) const
{
    return panel >= 0 && panel < int(panels.size()) ? panels[size_t(panel)] : QString();
}

BareProgram::BareProgram(const QStringList &arguments, QSize screen)
{
    d.Arguments = arguments;
    d.ProgramFolder = folder.path() + QLatin1Char('/');
    d.ForcedScreenSize = screen;
    d.setMessageSink(&sink);
    // What the main window's creation sets before any other window exists.
    d.CommandLine = ParseCommandLine(d.Arguments);
    d.BrandMode = d.CommandLine.Valko ? 1 : 0;
    d.ModuleShortNames = BuiltInShortNames(d.BrandMode);
    d.StartTimeStamp = QDateTime::currentDateTime();
    d.SettingsPath = SettingsFileFor(d.ProgramFolder, UserSettingsFolder());
    d.Status = &status;
    link = std::make_unique<Transport>(d);
    d.Link = link.get();
}

BareProgram::~BareProgram()
{
    d.Status = nullptr;
    d.Link = nullptr;
}

// The link and unit vo3112ctl takes without link options: Modbus.ini beside
// the program where that folder is writable, else the user's own copy in
// ~/.config/vo3112ccc.
#include "CtlProcess.h"
#include "CtlStation.h"
#include "app/IniFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

// A program folder of its own: the binary and the description file.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        dir_.setAutoRemove(true);
        ok_ = dir_.isValid() && QFile::copy(QStringLiteral(VO_CTL_BINARY), program()) &&
              QFile::copy(QStringLiteral(VO_DATA_DIR "/ModIO_NX.cfg"), path(QStringLiteral("ModIO_NX.cfg")));
        // Other users (the unprivileged run) must reach it.
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                               QFile::ExeOther);
    }
    ~ProgramFolder() { QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    bool ok() const { return ok_; }
    QString path(const QString &name) const { return dir_.filePath(name); }
    QString program() const { return path(QStringLiteral("vo3112ctl")); }
    void makeReadOnly()
    {
        QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    }

private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

CtlPlace PlaceOf(const QString &program)
{
    CtlPlace place;
    place.program = program;
    return place;
}

void WriteTcpLink(const QString &file, quint16 port, int unit)
{
    IniFile ini(file);
    ini.writeBool(QStringLiteral("Schnittstelle"), QStringLiteral("Ethernet"), true);
    ini.writeString(QStringLiteral("Schnittstelle"), QStringLiteral("EthAdresse"), QStringLiteral("127.0.0.1"));
    ini.writeInteger(QStringLiteral("Schnittstelle"), QStringLiteral("EthPort"), port);
    if (unit)
        ini.writeInteger(QStringLiteral("Slave"), QStringLiteral("Adresse"), unit);
    ASSERT_TRUE(ini.save());
}

TEST(CtlSettings, TcpLinkAndUnitFromModbusIniBesideTheProgram)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    CtlStation station(CtlLink::Tcp, {"--unit", "17"});
    ASSERT_TRUE(station.ready());
    WriteTcpLink(folder.path(QStringLiteral("Modbus.ini")), station.sim->port(), 17);
    const CtlRun r = RunCtl({"--json", "config"}, PlaceOf(folder.program()));
    ASSERT_EQ(r.exit, 0) << r.err.constData();
    EXPECT_EQ(r.json().value("slots").toArray().size(), 9);
    EXPECT_EQ(r.json().value("slots").toArray()[0].toObject().value("name").toString(), "NX 651");

    // --unit wins over the file; unit 8 gets no reply from this simulator.
    const CtlRun other = RunCtl({"--json", "--unit", "8", "read", "0x1000", "1"}, PlaceOf(folder.program()));
    EXPECT_EQ(other.exit, 3);
}

// Serial link, baud rate and frame format as list indices of the file.
TEST(CtlSettings, SerialLinkFromModbusIniTakesBaudAndFrame)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    CtlStation station(CtlLink::Rtu, {"--baud", "9600", "--frame", "2"});
    ASSERT_TRUE(station.ready());
    IniFile ini(folder.path(QStringLiteral("Modbus.ini")));
    const QString section = QStringLiteral("Schnittstelle");
    ini.writeBool(section, QStringLiteral("Ethernet"), false);
    ini.writeInteger(section, QStringLiteral("Port"), 1); // COM 2
    ini.writeString(section, QStringLiteral("ComDevice2"), QString::fromStdString(station.pty->masterSide()));
    ini.writeInteger(section, QStringLiteral("Baud"), 4);  // 9600
    ini.writeInteger(section, QStringLiteral("Frame"), 1); // even parity, 1 stop bit
    ASSERT_TRUE(ini.save());
    const CtlRun r = RunCtl({"--json", "identify"}, PlaceOf(folder.program()));
    ASSERT_EQ(r.exit, 0) << r.err.constData();
    EXPECT_EQ(r.json().value("manufacturer").toString(), "Test Works");
}

// A program folder the user cannot write: the link comes from the user's own
// Modbus.ini, not from the one beside the program. Root writes anywhere, so
// the run is made as an unprivileged user.
TEST(CtlSettings, ReadOnlyProgramFolderTakesTheUsersModbusIni)
{
    const bool root = ::geteuid() == 0;
    if (root && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "running as root without setpriv";
    ProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    CtlStation station(CtlLink::Tcp);
    ASSERT_TRUE(station.ready());
    // Beside the program: a port nobody listens on.
    WriteTcpLink(folder.path(QStringLiteral("Modbus.ini")), 1, 0);
    folder.makeReadOnly();

    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString config = home.filePath(QStringLiteral(".config/vo3112ccc"));
    ASSERT_TRUE(QDir().mkpath(config));
    WriteTcpLink(config + QStringLiteral("/Modbus.ini"), station.sim->port(), 8);
    if (root) {
        for (const QString &p :
             {home.path(), home.filePath(QStringLiteral(".config")), config, config + QStringLiteral("/Modbus.ini")})
            ASSERT_EQ(::chown(QFile::encodeName(p).constData(), 65534, 65534), 0) << p.toStdString();
    }
    CtlPlace place = PlaceOf(folder.program());
    place.home = home.path();
    place.asNobody = root;
    const CtlRun r = RunCtl({"--json", "identify"}, place);
    ASSERT_EQ(r.exit, 0) << r.out.constData() << r.err.constData();
    EXPECT_EQ(r.json().value("product").toString(), "VO3112-T");
}

} // namespace

#pragma once
// A pseudo-terminal pair: the program opens `slavePath` as its serial port,
// the test reads and writes the master side.
#include <QByteArray>
#include <QString>

class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    bool ok() const { return master_ >= 0; }
    QString slavePath() const { return slavePath_; }
    // Reads what arrived within `timeoutMs`, up to `expected` bytes.
    QByteArray read(int expected, int timeoutMs = 2000);
    void write(const QByteArray &bytes);

private:
    int master_ = -1;
    int slaveKeepOpen_ = -1;
    QString slavePath_;
};

#include "process/ValueFreshness.h"

#include "link/ModbusFrame.h"

void ValueFreshness::started(const QTime &now)
{
    // A reply heard before the start says nothing about now.
    lastHeard_ = now;
}

void ValueFreshness::answered(const QTime &now)
{
    state_ = State::Current;
    lastHeard_ = now;
}

void ValueFreshness::refused(quint8 exceptionCode, const QTime &now)
{
    state_ = State::Exception;
    exceptionCode_ = exceptionCode;
    lastHeard_ = now;
}

void ValueFreshness::timedOut()
{
    state_ = State::NoAnswer;
}

QString NotCurrentText(const ValueFreshness &freshness, const QString &noAnswerSince)
{
    switch (freshness.state()) {
    case ValueFreshness::State::Current:
        return {};
    case ValueFreshness::State::NoAnswer:
        return noAnswerSince + QLatin1Char(' ') + freshness.silentSince().toString(QStringLiteral("hh:mm:ss"));
    case ValueFreshness::State::Exception:
        return ExceptionText(freshness.exceptionCode());
    }
    return {};
}

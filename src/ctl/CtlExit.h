#pragma once
// Exit status of vo3112ctl; scripts rely on these numbers.
namespace CtlExit
{
constexpr int Done = 0;
constexpr int AnswerNo = 1;
constexpr int Usage = 2;
constexpr int NoLink = 3;
constexpr int Exception = 4;
constexpr int StationMismatch = 5;
constexpr int Interrupted = 130;
} // namespace CtlExit

#pragma once
// Every window that decodes a reply, fed whatever may come back for its
// requests: replies that are not its own (wrong function code, wrong byte
// count, cut short, from before it gave up) must change nothing that a reply
// could reach, compared with a twin program that got no reply at all; its own
// replies with random contents and exceptions with any code must only never
// break a rule of the sanitizers.
namespace fuzz
{

// Returns the number of failures (0: all well); prints what broke.
int RunWindowFuzz(unsigned seed, int rounds);

} // namespace fuzz

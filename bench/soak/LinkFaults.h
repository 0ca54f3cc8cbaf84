#pragma once
// bench_soak --link-faults: the longest event-loop stall while the link fails
// under a running cycle (TCP reset in the middle of a reply, a coupler that
// accepts and never answers, a refused connect, a connect never answered, the
// serial adapter pulled), and how long until the status tells.
int RunLinkFaults();

#pragma once

struct Invocation;

// Runs one command of tavek-cli through the window's own operations and
// returns its exit code (ExitCodes.h).
int runInvocation(const Invocation& invocation);

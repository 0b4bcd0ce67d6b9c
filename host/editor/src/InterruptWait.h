// Waiting for the user's interrupt (Ctrl+C, SIGTERM, SIGHUP) so that the
// server can shut down in order. Made on the main thread before any other
// thread starts: the signals are then held back in every thread and only
// Wait takes them.
#pragma once

class InterruptWait {
public:
    InterruptWait();
    // Blocks until one of the signals comes; its name.
    const char* Wait();
};

#include "InterruptWait.h"

#include <pthread.h>
#include <signal.h>

namespace {

sigset_t EndingSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

} // namespace

InterruptWait::InterruptWait() {
    const sigset_t set = EndingSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

const char* InterruptWait::Wait() {
    const sigset_t set = EndingSignals();
    int signal = 0;
    while (sigwait(&set, &signal) != 0) {
    }
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    default:
        return "SIGHUP";
    }
}

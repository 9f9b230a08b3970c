#include "app/TerminationSignals.h"

#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace solvane::app {

namespace {

int g_signalPipe[2] = {-1, -1};

// Interrupt, termination, and the hang-up of a closed terminal.
constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

extern "C" void forwardSignal(int signal) {
    const unsigned char number = static_cast<unsigned char>(signal);
    // Only async-signal-safe work here: one byte into the pipe.
    [[maybe_unused]] const auto written = ::write(g_signalPipe[1], &number, 1);
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignal)) {
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::drain);
    struct sigaction action {};
    action.sa_handler = forwardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals() {
    for (const int signal : kSignals)
        std::signal(signal, SIG_DFL);
    if (g_signalPipe[0] >= 0) {
        ::close(g_signalPipe[0]);
        ::close(g_signalPipe[1]);
        g_signalPipe[0] = g_signalPipe[1] = -1;
    }
}

void TerminationSignals::drain() {
    unsigned char number = 0;
    while (::read(g_signalPipe[0], &number, 1) == 1) {
        m_received = true;
        m_onSignal(number);
    }
}

} // namespace solvane::app

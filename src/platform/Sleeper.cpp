#include "platform/Sleeper.h"

#include <chrono>
#include <thread>

namespace solvane::platform {

void ThreadSleeper::sleep(unsigned ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace solvane::platform

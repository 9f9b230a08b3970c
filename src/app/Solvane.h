#pragma once

namespace solvane::app {

// The program: command line, platform services, hardware back-end, then the application object.
int runSolvane(int argc, char* argv[]);

} // namespace solvane::app

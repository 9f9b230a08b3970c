#include "app/ProgramLauncher.h"

int main(int argc, char* argv[]) {
    return solvane::app::launchSolvane(argc, argv);
}

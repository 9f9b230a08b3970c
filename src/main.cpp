#include "app/Solvane.h"

int main(int argc, char* argv[]) {
    return solvane::app::runSolvane(argc, argv);
}

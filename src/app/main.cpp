// tavrel [FILE]: shows FILE in the viewer.
#include "app/startup.h"

int main(int argc, char** argv) {
    return tavrel::runTavrel(argc, argv);
}

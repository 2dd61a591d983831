// The program's entry sequence: settles folders and the settings store, then shows the
// main window and runs the event loop.
#pragma once

namespace tavrel {

int runTavrel(int argc, char** argv);

} // namespace tavrel

#pragma once

#include <QString>

// Kills a private X server under the running application `rounds` times (running `self` with
// --display-loss-app); prints the counts. Non-zero if typed text was lost once.
int runDisplayLoss(int rounds, const QString& self);
// The application's side: --display-loss-app PROJECTS AUDIO BREAK(0|1).
int runDisplayLossApp(int argc, char* argv[]);

#pragma once
// Adding files with the window answering: while the adder waits for a file to be probed, the application's
// message loop handles the window's messages (painting, timers, input, other drops); closing the program stops
// the add. The adder and the application must outlive the add.
#include "app/add_files.h"
#include "platform/gui/application.h"

void WaitInMessageLoop(TFileAdder& AAdder, TApplication& AApplication);

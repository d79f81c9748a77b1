#pragma once
// The converter's application object: opens its windows, runs the message loop and saves on the way out.



// Runs the converter with the program's command line; returns the process exit code.
int RunConverter(int AArgc, char** AArgv);



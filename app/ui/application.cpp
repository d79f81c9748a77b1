#include "app/ui/application.h"

#include <cstdio>



int RunConverter(int, char**)
{
    std::puts("Quennary 0.1.0, a desktop video converter. The converter window is not built yet.");
    return 0;
}



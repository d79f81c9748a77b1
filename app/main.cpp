#include "app/ui/application.h"

int main(int argc, char** argv)
{
    return RunConverter(argc, argv);
}

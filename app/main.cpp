#include <cstdio>

int main()
{
    std::puts("Quennary 0.1.0, a desktop video converter. The converter window is not built yet.");
    return 0;
}

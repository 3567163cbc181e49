#include "brovell/SdlKelvoAppWindow.h"
#include "brovell/StaticObjects.h"

int main()
{
    return g_AppWindow.Run();
}

#include "brovell/SdlKelvoAppWindow.h"
#include "brovell/StaticObjects.h"
#include "brovell/options/ProgramOptions.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    SProgramOptions options;
    std::string error;
    if (!ParseProgramOptions(argc, argv, options, error))
    {
        std::fprintf(stderr, "brovell: %s\n\n%s", error.c_str(), ProgramUsage());
        return 2;
    }
    if (options.m_Action == SProgramOptions::EAction::Help)
    {
        std::fputs(ProgramUsage(), stdout);
        return 0;
    }
    if (options.m_Action == SProgramOptions::EAction::Version)
    {
        std::printf("brovell %s\n", BROVELL_VERSION);
        return 0;
    }
    return g_AppWindow.Run(options);
}

// Setup.exe: the game installer that every game disk carries.
#include "SetupMain.h"

int main(int argc, char** argv)
{
    return SetupProgram(argc, argv);
}

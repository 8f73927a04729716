// The editor program.
#include "Startup.h"

int main(int argc, char** argv)
{
    return RunEditor(argc, argv);
}

// Starts the planner.
#include "main2/Startup.h"

int main(int argc, char **argv)
{
    return Startup::run(argc, argv);
}

// The entry point of quindarvel on a POSIX desktop: the command line is ignored and
// the run's result is the exit status.
#include "run/run.h"

int main() { return quindarvel::Run(); }

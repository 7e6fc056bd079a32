// The failure report: the one place where a Failure that escaped the run reaches
// the user.
#pragma once

#include "host/failure.h"

namespace quindarvel {

// Reports the failure and gives the exit status that follows it, 1.
int ReportFailure(const Failure& failure);

}  // namespace quindarvel

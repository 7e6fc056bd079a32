// Where a failure ends the run. The error box is not shown yet: the process ends
// with status 1.
#include "host/failure_report.h"

namespace quindarvel {

int ReportFailure(const Failure&) { return 1; }

}  // namespace quindarvel

// The failure report: the one place where a Failure that escaped the run reaches
// the user, as a modal error box, after which the process ends with status 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/failure.h"

namespace quindarvel {

inline constexpr std::string_view kReportTitle = "Application Error";
// The text is built in a buffer of 1024 characters.
inline constexpr std::size_t kReportTextLimit = 1023;

// "Exception <kind> in module <module name> at <offset>.\n<message>", with a full stop
// after a message that has none, cut to kReportTextLimit characters.
std::string ReportText(const Failure& failure, std::string_view module_name, std::uint32_t offset);

// Shows the failure in the error box and, once it is dismissed, gives the exit
// status that follows it: 1.
int ReportFailure(const Failure& failure);

}  // namespace quindarvel

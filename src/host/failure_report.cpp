// Turning a Failure into the "Application Error" box. The report raises nothing and
// ignores the box's answer: whatever happens, the exit status is 1.
#include "host/failure_report.h"

#include <cstdio>

#include "host/window_system.h"
#include "run/module_path.h"
#include "run/run.h"

namespace quindarvel {

std::string ReportText(const Failure& failure, std::string_view module_name, std::uint32_t offset) {
    char location[9];
    std::snprintf(location, sizeof location, "%08X", static_cast<unsigned>(offset));
    std::string text = "Exception ";
    text.append(FailureKindName(failure.kind));
    text.append(" in module ");
    text.append(module_name);
    text.append(" at ");
    text.append(location);
    text.append(".\n");
    text.append(failure.message);
    if (!failure.message.empty() && failure.message.back() != '.') text.push_back('.');
    if (text.size() > kReportTextLimit) text.resize(kReportTextLimit);
    return text;
}

int ReportFailure(const Failure& failure) {
    std::uint32_t copied = 0;
    const std::string path = ModulePath(&copied);
    const std::string_view name = FileName(path, host::GetPathRules().file_name_delimiters,
                                           host::IsDBCSEnabled() ? host::IsDBCSLeadByte : nullptr);
    // An offset within the image, so that it is the same wherever the image was loaded.
    const auto offset = static_cast<std::uint32_t>(failure.address - host::GetModuleHandleA());
    const std::string text = ReportText(failure, name, offset);
    const std::string title(kReportTitle);
    host::MessageBoxA(0, text.c_str(), title.c_str(), kMbOk | kMbIconStop | kMbTaskModal);
    return 1;
}

}  // namespace quindarvel

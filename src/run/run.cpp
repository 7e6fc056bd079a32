// The one loop of the program. The open is the only step whose failure is tested
// by result; every other failure is a Failure that ends the run where it is raised.
#include "run/run.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "config/config_reader.h"
#include "host/failure.h"
#include "host/failure_report.h"
#include "host/window_system.h"
#include "run/module_path.h"
#include "zoom/zoom.h"

namespace quindarvel {

std::string ModulePath(std::uint32_t* copied) {
    const std::uint32_t size = host::GetPathRules().module_path_buffer;
    std::string module(size, '\0');
    *copied = host::GetModuleFileNameA(module.data(), size);
    module.resize(strnlen(module.data(), std::min(*copied, size)));
    return module;
}

std::optional<std::string> ConfigPath() {
    const PathRules& rules = host::GetPathRules();
    std::uint32_t copied = 0;
    const std::string path = ModulePath(&copied);
    // Without the whole path the file beside the executable can't be named, and any
    // other file is not ours to read.
    if (copied == 0 || copied >= rules.module_path_buffer) return std::nullopt;
    const std::size_t directory = DirectoryLength(
        path, rules.directory_delimiters, host::IsDBCSEnabled() ? host::IsDBCSLeadByte : nullptr);
    std::string config = path.substr(0, directory);
    config.append(kConfigName);
    if (config.size() > rules.max_open_path) return std::nullopt;
    return config;
}

void ZoomRun() {
    const std::optional<std::string> path = ConfigPath();
    if (!path) return;
    ConfigReader reader;
    if (!reader.Open(path->c_str())) return;
    while (!reader.AtEnd()) {
        ZoomEntry entry = reader.NextEntry();
        const WindowHandle target = FindTargetWindow(std::move(entry.pattern));
        // Any window found is zoomed, whatever the top bit of its handle.
        if (target != 0) ZoomWindow(target, entry.percentage);
    }
    reader.Close();
}

RunResult Run() {
    try {
        ZoomRun();
        return 0;
    } catch (const Failure& failure) {
        return ReportFailure(failure);
    }
}

}  // namespace quindarvel

// The run driver: finds "quindarvel.cfg" beside the executable and takes its zoom
// entries one after another in file order. Everything it learns of the host comes
// through the window system seam.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quindarvel {

using RunResult = int;

inline constexpr std::string_view kConfigName = "quindarvel.cfg";

// The running executable's path as the host gives it, possibly cut by the buffer;
// *copied is what the host answered (0 on failure, the buffer size when cut).
std::string ModulePath(std::uint32_t* copied);

// The configuration file's path beside the running executable; nullopt when the
// executable's path can't be had whole or the result would be cut for the open.
std::optional<std::string> ConfigPath();

// The zoom run itself; a Failure raised on the way leaves it uncaught.
void ZoomRun();

// The process's whole life: the zoom run inside the failure report. 0 after a normal
// run, 1 after a failure was reported.
RunResult Run();

}  // namespace quindarvel

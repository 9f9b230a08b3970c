#pragma once

#include <cstdint>

namespace solvane::platform {

// The error codes of the services this layer stands in for, with their Windows numbers, since
// callers compare them (an existing service or an already running one counts as success).
enum class WinError : std::uint32_t {
    Success = 0,
    FileNotFound = 2,
    AccessDenied = 5,
    InvalidHandle = 6,
    GenFailure = 31,
    SharingViolation = 32,
    InvalidParameter = 87,
    InsufficientBuffer = 122,
    AlreadyExists = 183,
    MoreData = 234,
    ServiceAlreadyRunning = 1056,
    ServiceDoesNotExist = 1060,
    ServiceNotActive = 1062,
    ServiceExists = 1073,
};

} // namespace solvane::platform

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::host {

// What /proc/cpuinfo says of the processors: how many the kernel runs (its "processor" entries)
// and the first one's identity. Fields the text does not hold stay empty.
struct CpuInfo {
    unsigned processors = 0;
    std::string vendor;    // "vendor_id": "GenuineIntel", "AuthenticAMD"
    std::string modelName; // "model name"
    std::optional<unsigned> family;
    std::optional<unsigned> model;
    std::optional<unsigned> stepping;
    std::uint32_t features = 0; // CPUID leaf 1 EDX, from the "flags" the kernel lists

    // The processor signature as CPUID leaf 1 reports it, from family, model and stepping (the
    // extended family and model fields filled as the processor fills them); none without all three.
    std::optional<unsigned> signature() const;
};

CpuInfo parseCpuInfo(std::string_view text);

} // namespace solvane::host

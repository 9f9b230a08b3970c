#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace solvane::sysinfo {

// The processor's version string as the motherboard information page shows it: every "@ 0000 "
// and every run of four blanks removed (firmware pads the string with blanks and leaves an empty
// speed behind "@").
std::string cleanProcessorName(std::string_view version);

// The family, model and stepping characters of the processor identifier text: its third-last,
// second-last and last characters, which are the signature's family, model and stepping digits.
struct ProcessorSignature {
    char family;
    char model;
    char stepping;
};
// None for an identifier text shorter than three characters (an empty one leaves the fields as
// they were).
std::optional<ProcessorSignature> processorSignature(std::string_view processorId);

} // namespace solvane::sysinfo

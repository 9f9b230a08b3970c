// Feeds arbitrary bytes to the DDR4 and DDR5 decoders, whole and as the memory page meets them (the
// generation's type byte planted): a short image always says so and a whole one never, speeds and
// latencies stay consistent, and every timing column is a speed.
#include "sysinfo/Ddr4SpdLayout.h"
#include "sysinfo/Ddr5SpdLayout.h"
#include "sysinfo/MemoryModuleDecoder.h"
#include "sysinfo/SpdModuleDecoders.h"

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

using namespace solvane;

void checkSpdModule(const sysinfo::SpdModuleDetails& module, std::size_t imageBytes, std::size_t fullBytes,
                    std::size_t partNumberBytes) {
    const auto fail = [] { std::abort(); };
    if ((imageBytes < fullBytes) == module.note.empty())
        fail(); // a short image always says so, a whole one never
    if (module.partNumber.size() > partNumberBytes ||
        (module.serialNumber.size() != 0 && module.serialNumber.size() != 8))
        fail();
    if (!std::is_sorted(module.casLatencies.begin(), module.casLatencies.end()))
        fail();
    if (module.speeds.size() > sysinfo::kTimingColumns)
        fail();
    for (std::size_t i = 0; i < module.speeds.size(); ++i) {
        const auto& speed = module.speeds[i];
        if (speed.clockPicoseconds <= 0 || speed.speedMts <= 0 || speed.cas == 0)
            fail();
        if (i > 0 && speed.clockPicoseconds <= module.speeds[i - 1].clockPicoseconds)
            fail(); // slower columns follow the top speed
        if (std::find(module.casLatencies.begin(), module.casLatencies.end(), speed.cas) ==
            module.casLatencies.end())
            fail();
    }
    if (module.week && (*module.week < 1 || *module.week > 53))
        fail();
    const auto fields = sysinfo::spdFieldTexts(module);
    for (const auto& column : fields.timings)
        if (column && column->front().find("MHz") == std::string::npos)
            fail();
}

// Decodes the bytes through the page's entry point with the generation's type byte planted.
void checkThroughThePage(std::span<const std::uint8_t> data, std::uint8_t typeCode) {
    std::vector<std::uint8_t> image(data.begin(), data.end());
    if (image.size() > 2)
        image[2] = typeCode;
    const auto texts = sysinfo::decodeMemoryModule(image);
    if (image.size() > 2 && (!texts.spd || !texts.pageFields()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvane::sysinfo;
    const std::span<const std::uint8_t> image(data, size);
    checkSpdModule(decodeDdr4Module(image), size, ddr4_spd::kImageBytes, ddr4_spd::kPartNumberBytes);
    checkSpdModule(decodeDdr5Module(image), size, ddr5_spd::kImageBytes, ddr5_spd::kPartNumberBytes);
    checkThroughThePage(image, ddr4_spd::kTypeCode);
    checkThroughThePage(image, ddr5_spd::kTypeCode);
    return 0;
}

// Feeds arbitrary SPD images to the memory page's decoder and to its slot scan over an SMBus that
// serves the image in every slot: no read outside the image, no timing text that is not a number,
// and a DDR3 total that is the sum of the slots' sizes.
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/MemoryInformation.h"
#include "sysinfo/MemoryModuleDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

class ImageBus final : public solvane::hw::Hoblin {
public:
    explicit ImageBus(std::span<const std::uint8_t> image) : m_image(image) {}
    int LoadNTHoblin() override { return 1; }
    void UnloadNTHoblin() override {}
    std::uint8_t Smbus_JRW(std::uint8_t, std::uint8_t reg, std::uint8_t) override {
        return reg < m_image.size() ? m_image[reg] : std::uint8_t{0xFF};
    }

private:
    std::span<const std::uint8_t> m_image;
};

bool isNumberText(const std::string& text) {
    return !text.empty() && text.find_first_of("ni") == std::string::npos && text.front() >= '0' &&
           text.front() <= '9';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvane::sysinfo;
    const std::span<const std::uint8_t> image(data, size);
    const auto texts = decodeMemoryModule(image);
    if (texts.ddr3) {
        if (texts.ddr3->serialNumber.size() != 8 || texts.ddr3->weekYear.size() != 7 ||
            texts.ddr3->partNumber.size() > 18)
            std::abort();
        bool earlierColumnEmpty = false;
        for (const auto& column : texts.ddr3->timings) {
            if (!column) {
                earlierColumnEmpty = true;
                continue;
            }
            if (earlierColumnEmpty) // columns fill from the left
                std::abort();
            for (const auto& text : *column)
                if (!isNumberText(text))
                    std::abort();
        }
    }

    ImageBus bus(image);
    MemoryInformation memory(bus, SmbusLibrary::Loaded, [] {
        return solvane::platform::MemoryStatus{50, 1 << 30};
    });
    memory.initialise();
    for (std::size_t i = 0; i < memory.modules().size(); ++i)
        memory.showModule(static_cast<int>(i));
    if (!memory.modules().empty() && memory.modules().size() != 6)
        std::abort(); // the same image answers in every slot
    if (memory.ddr3TotalMegabytes() % 6 != 0)
        std::abort();
    return 0;
}

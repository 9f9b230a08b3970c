#include "sim/images/VideoBiosImage.h"

#include "hw/ByteOrder.h"

#include <algorithm>

namespace solvane::sim {

namespace {

constexpr std::size_t kPciDataOffset = 0x40;
constexpr std::size_t kFirstTextOffset = kPciDataOffset + 0x18;

} // namespace

std::vector<std::uint8_t> buildVideoBiosImage(std::uint16_t vendorId, std::uint16_t deviceId,
                                              std::string_view identification, std::size_t size,
                                              std::size_t textOffset) {
    size = std::clamp<std::size_t>(size, 0x1000, 0x1FE00) & ~std::size_t{0x1FF};
    std::vector<std::uint8_t> image(size, 0x00);
    image[0] = 0x55;
    image[1] = 0xAA;
    image[2] = static_cast<std::uint8_t>(size / 512);
    image[3] = 0xE9; // near jump to the initialisation code
    image[4] = 0x5C;
    image[5] = 0x00;
    hw::writeLittleEndian<std::uint16_t>(image, 0x18, kPciDataOffset);
    std::copy_n("PCIR", 4, image.begin() + kPciDataOffset);
    hw::writeLittleEndian<std::uint16_t>(image, kPciDataOffset + 4, vendorId);
    hw::writeLittleEndian<std::uint16_t>(image, kPciDataOffset + 6, deviceId);
    hw::writeLittleEndian<std::uint16_t>(image, kPciDataOffset + 0x0A, 0x18); // structure length
    image[kPciDataOffset + 0x0D] = 0x00;                                      // class code: VGA
    image[kPciDataOffset + 0x0E] = 0x00;
    image[kPciDataOffset + 0x0F] = 0x03;
    hw::writeLittleEndian<std::uint16_t>(image, kPciDataOffset + 0x10,
                                         static_cast<std::uint16_t>(size / 512));
    image[kPciDataOffset + 0x15] = 0x80; // last image
    textOffset = std::clamp(textOffset, kFirstTextOffset, size - 2);
    const auto length = std::min(identification.size(), size - textOffset - 2);
    std::copy_n(identification.begin(), length, image.begin() + static_cast<std::ptrdiff_t>(textOffset));
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; ++i)
        sum = static_cast<std::uint8_t>(sum + image[i]);
    image[size - 1] = static_cast<std::uint8_t>(0x100 - sum);
    return image;
}

std::vector<std::uint8_t> buildVideoBiosImage(const GraphicsCard& card) {
    return buildVideoBiosImage(card.vendorId, card.deviceId, card.signOn, card.romSize, card.signOnOffset);
}

} // namespace solvane::sim

#include "hw/replay/ReplayHardware.h"

#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace solvane::hw {
namespace {

// A back-end that answers every read with a marker value and records the writes that reach it.
class MarkerHardware final : public Hardware, Hoblin, Falwick, Ostrel, Pexmon, Tressel, MachineAccess {
public:
    static constexpr std::uint8_t kSmbusMarker = 0x42;
    static constexpr std::uint32_t kPciMarker = 0x12345678;

    Hoblin& hoblin() override { return *this; }
    Falwick& falwick() override { return *this; }
    Ostrel& ostrel() override { return *this; }
    Pexmon& pexmon() override { return *this; }
    Tressel& tressel() override { return *this; }
    platform::ModuleLoader& modules() override { return m_modules; }
    MachineAccess& machine() override { return *this; }
    std::string videoControllerName() const override { return "Marker Graphics"; }
    std::string videoDriverVersion() const override { return "1.2.3"; }
    std::string description() const override { return "Marker machine"; }
    platform::MemoryStatus memoryStatus() override { return {37, 3ULL << 30}; }
    unsigned processorCount() const override { return 3; }
    std::uint64_t refusedWrites() const override { return 5; }

    int LoadNTHoblin() override { return 7; }
    void UnloadNTHoblin() override {}
    std::uint8_t Smbus_JRW(std::uint8_t address, std::uint8_t, std::uint8_t) override {
        return smbus(address);
    }
    std::uint8_t Smbus_ByteRW(std::uint8_t address, std::uint8_t, std::uint8_t) override {
        return smbus(address);
    }
    std::uint8_t BaseByte_RW(std::uint16_t, std::uint8_t, std::uint8_t readFlag) override {
        writes += readFlag == kRead ? 0 : 1;
        return kSmbusMarker;
    }
    std::uint32_t PCI_RW(std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t, std::uint32_t,
                         std::uint8_t readFlag) override {
        writes += readFlag == kRead ? 0 : 1;
        return kPciMarker;
    }
    std::uint8_t Get_EFERs(std::uint16_t, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) override {
        return kSmbusMarker;
    }
    std::uint8_t GetCmosAddressByte(std::uint8_t, std::uint16_t) override { return kSmbusMarker; }
    void WriteCmosAddressByte(std::uint8_t, std::uint8_t, std::uint16_t) override { ++writes; }
    void FanControl(std::uint8_t, std::uint8_t, int) override { ++writes; }
    std::uint32_t GetDMILength(std::uint32_t* length) override {
        if (length != nullptr)
            *length = 3;
        return 3;
    }
    bool GetDMIData(std::uint8_t* buffer, std::uint32_t) override {
        buffer[0] = 0xD1;
        return true;
    }
    int Init() override { return 9; }
    void GetVGABIOSVersion(std::string& text) override { text = "BIOS"; }
    void GetDriverVersion(std::string& text) override { text = "Driver"; }
    int TresselInit(int) override { return 11; }
    void readPciConfig(std::uint32_t, std::uint32_t, std::span<std::uint8_t> out) override {
        std::fill(out.begin(), out.end(), kSmbusMarker);
    }
    bool readPhysicalMemory(std::uint64_t, std::span<std::uint8_t>) override { return true; }

    int writes = 0;

private:
    std::uint8_t smbus(std::uint8_t address) {
        writes += (address & 1) == 0 ? 1 : 0;
        return kSmbusMarker;
    }

    platform::ModuleCatalog m_modules;
};

// MarkerHardware wrapped with sources; marker points at the inner back-end.
std::unique_ptr<Hardware> replayOverMarker(const ReplaySources& sources, MarkerHardware*& marker) {
    auto inner = std::make_unique<MarkerHardware>();
    marker = inner.get();
    return withReplay(std::move(inner), sources);
}

std::vector<std::uint8_t> spdImage(std::uint8_t type) {
    std::vector<std::uint8_t> image(256);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<std::uint8_t>(i);
    image[2] = type;
    return image;
}

TEST(ReplayHardware, ServesReplayedEepromsAndPassesTheRestThrough) {
    ReplaySources sources;
    sources.spdImages[0xA2] = spdImage(0x0B);
    sources.spdImages[0xA4] = std::vector<std::uint8_t>(128, 0x80);
    MarkerHardware* marker = nullptr;
    auto hardware = replayOverMarker(sources, marker);

    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA3, 2, 0), 0x0B);
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA3, 0x90, 0), 0x90);
    EXPECT_EQ(hardware->falwick().Smbus_ByteRW(0xA3, 2, 0), 0x0B);
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA5, 0x7F, 0), 0x80);
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA5, 0x80, 0), 0xFF) << "beyond a 128-byte image";
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA1, 2, 0), MarkerHardware::kSmbusMarker);
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0x5B, 0x4C, 0), MarkerHardware::kSmbusMarker);

    // A write to a replayed EEPROM reaches nothing; other writes are the inner back-end's affair.
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA2, 2, 0x55), 0xFF);
    EXPECT_EQ(hardware->falwick().Smbus_ByteRW(0xA4, 2, 0x55), 0xFF);
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA3, 2, 0), 0x0B);
    EXPECT_EQ(marker->writes, 0);
    hardware->hoblin().Smbus_JRW(0x60, 1, 2);
    EXPECT_EQ(marker->writes, 1);
    EXPECT_EQ(hardware->refusedWrites(), 5U + 2U);

    EXPECT_EQ(hardware->falwick().PCI_RW(0, 0, 0, 0, 0, Falwick::kRead), MarkerHardware::kPciMarker);
    std::uint32_t length = 0;
    EXPECT_EQ(hardware->ostrel().GetDMILength(&length), 3U);
    EXPECT_EQ(hardware->ostrel().Get_EFERs(0x4E, 6, 0x20, 0, 1), MarkerHardware::kSmbusMarker);
    EXPECT_EQ(hardware->hoblin().LoadNTHoblin(), 7);
    EXPECT_EQ(hardware->pexmon().Init(), 9);
    EXPECT_EQ(hardware->tressel().TresselInit(2), 11);
    EXPECT_EQ(&hardware->modules(), &marker->modules());
    EXPECT_EQ(hardware->videoControllerName(), "Marker Graphics");
    EXPECT_EQ(hardware->description(), "Marker machine (SPD replayed from dumps)");
    // Whole images come from the dump, the machine's own figures from underneath.
    EXPECT_EQ(hardware->spdImage(0xA3), sources.spdImages[0xA2]);
    EXPECT_FALSE(hardware->spdImage(0xA0));
    EXPECT_EQ(hardware->memoryStatus().dwMemoryLoad, 37U);
    EXPECT_EQ(hardware->processorCount(), 3U);
}

PciDumpFunction dumpedFunction(std::uint32_t domain, std::uint8_t bus, std::uint8_t device,
                               std::uint8_t function, std::size_t size) {
    PciDumpFunction dumped{
        .domain = domain, .bus = bus, .device = device, .function = function, .config = {}};
    dumped.config.resize(size);
    for (std::size_t i = 0; i < size; ++i)
        dumped.config[i] = static_cast<std::uint8_t>(i ^ bus);
    return dumped;
}

TEST(ReplayHardware, ServesOnlyTheDumpedPciFunctionsOfDomainZero) {
    ReplaySources sources;
    sources.pciFunctions = {dumpedFunction(0, 0, 0, 0, 256), dumpedFunction(0, 3, 0x1F, 7, 64),
                            dumpedFunction(1, 5, 0, 0, 256)};
    MarkerHardware* marker = nullptr;
    auto hardware = replayOverMarker(sources, marker);
    auto& falwick = hardware->falwick();

    EXPECT_EQ(falwick.PCI_RW(0, 0, 0, 0x00, 0, Falwick::kRead), 0x03020100U);
    EXPECT_EQ(falwick.PCI_RW(0, 0, 0, 0xFC, 0, Falwick::kRead), 0xFFFEFDFCU);
    EXPECT_EQ(falwick.PCI_RW(3, 0x1F, 7, 0x3C, 0, Falwick::kRead), 0x3F3E3D3CU ^ 0x03030303U);
    EXPECT_EQ(falwick.PCI_RW(3, 0x1F, 7, 0x3E, 0, Falwick::kRead), 0xFFFF3F3EU ^ 0x00000303U)
        << "bytes beyond a 64-byte dump read as 0xFF";
    EXPECT_EQ(falwick.PCI_RW(3, 0x1F, 7, 0x40, 0, Falwick::kRead), Falwick::kNoDevice);
    EXPECT_EQ(falwick.PCI_RW(0, 1, 0, 0, 0, Falwick::kRead), Falwick::kNoDevice) << "not in the dump";
    EXPECT_EQ(falwick.PCI_RW(5, 0, 0, 0, 0, Falwick::kRead), Falwick::kNoDevice) << "another domain";
    EXPECT_EQ(falwick.PCI_RW(0, 0x20, 0, 0, 0, Falwick::kRead), Falwick::kNoDevice) << "no device 32";

    EXPECT_EQ(falwick.PCI_RW(0, 0, 0, 0x04, 0x0007, Falwick::kWrite), Falwick::kNoDevice);
    EXPECT_EQ(falwick.PCI_RW(0, 0, 0, 0x04, 0, Falwick::kRead), 0x07060504U);
    EXPECT_EQ(marker->writes, 0);
    EXPECT_EQ(hardware->refusedWrites(), 6U);

    std::array<std::uint8_t, 6> bytes{};
    hardware->machine().readPciConfig(3 << 8 | 0x1F << 3 | 7, 0x3D, bytes);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 6>{0x3D ^ 3, 0x3E ^ 3, 0x3F ^ 3, 0xFF, 0xFF, 0xFF}));
    hardware->machine().readPciConfig(0x0100, 0, bytes);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 6>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(hardware->machine().readPhysicalMemory(0xC0000, bytes)) << "memory is not replayed";
}

TEST(ReplayHardware, ServesTheReplayedDmiTable) {
    ReplaySources sources;
    sources.dmiTable = std::vector<std::uint8_t>{127, 4, 0, 0, 0, 0};
    MarkerHardware* marker = nullptr;
    auto hardware = replayOverMarker(sources, marker);
    EXPECT_EQ(hardware->ostrel().GetDMILength(nullptr), 6U);
    std::uint32_t length = 0;
    hardware->ostrel().GetDMILength(&length);
    EXPECT_EQ(length, 6U);
    std::array<std::uint8_t, 8> buffer{};
    buffer.fill(0xEE);
    ASSERT_TRUE(hardware->ostrel().GetDMIData(buffer.data(), 4));
    EXPECT_EQ(buffer, (std::array<std::uint8_t, 8>{127, 4, 0, 0, 0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST(ReplayHardware, NothingToReplayLeavesTheBackEndAsItIs) {
    auto inner = std::make_unique<MarkerHardware>();
    Hardware* original = inner.get();
    EXPECT_EQ(withReplay(std::move(inner), ReplaySources{}).get(), original);
}

// Enumerates functions as the PCI page does: buses 0 to 9, every device and function.
std::vector<std::string> enumerate(Falwick& falwick) {
    std::vector<std::string> functions;
    char text[64];
    for (unsigned bus = 0; bus < 10; ++bus)
        for (unsigned device = 0; device < 32; ++device)
            for (unsigned function = 0; function < 8; ++function) {
                const auto b = static_cast<std::uint8_t>(bus);
                const auto d = static_cast<std::uint8_t>(device);
                const auto f = static_cast<std::uint8_t>(function);
                const std::uint32_t ids = falwick.PCI_RW(b, d, f, 0x00, 0, Falwick::kRead);
                if (ids == Falwick::kNoDevice)
                    continue;
                const std::uint32_t classRegister = falwick.PCI_RW(b, d, f, 0x08, 0, Falwick::kRead);
                std::snprintf(text, sizeof text, "%02x:%02x.%u [%04x] [%04x:%04x]", bus, device, function,
                              classRegister >> 16, ids & 0xFFFF, ids >> 16);
                functions.emplace_back(text);
            }
    return functions;
}

// The same from lspci -nn output, for domain 0 and buses 0 to 9.
std::vector<std::string> lspciFunctions(const std::filesystem::path& lspciNn) {
    static const std::regex line(
        R"(^(?:0000:)?(0[0-9]:[0-9a-f]{2}\.[0-7]) [^\[]*(\[[0-9a-f]{4}\]): .*(\[[0-9a-f]{4}:[0-9a-f]{4}\]))");
    std::ifstream in(lspciNn);
    std::vector<std::string> functions;
    for (std::string text; std::getline(in, text);) {
        std::smatch match;
        if (std::regex_search(text, match, line))
            functions.push_back(match[1].str() + " " + match[2].str() + " " + match[3].str());
    }
    return functions;
}

TEST(ReplayHardware, RealDumpsLoadedFromFilesReplaceTheBackEndsParts) {
    const auto realData = test::realDataFolder();
    ReplayFiles files;
    files.pci = realData / "pci" / "dumps" / "pciutils__tree-asus-p6t6.txt";
    files.dmi = realData / "smbios" / "dumpbin" / "u-root__MSI-MS-7816.bin";
    files.spd = {
        "DIMM_B0=" +
            (realData / "spd" / "bin" / "ddr3" / "memtest86plus__DDR3-9905403-440.A00LF.bin").string(),
        "0x51=" +
            (realData / "spd" / "orig" / "coreboot" / "rambi__Samsung_2Gib_M471B5674QH0.spd.hex").string()};
    const auto sources = loadReplaySources(files);
    ASSERT_TRUE(sources.ok()) << sources.error();
    MarkerHardware* marker = nullptr;
    auto hardware = replayOverMarker(sources.value(), marker);

    const auto expected =
        lspciFunctions(realData / "pci" / "expected" / "pciutils__tree-asus-p6t6.lspci-nn.txt");
    ASSERT_GT(expected.size(), 30U);
    EXPECT_EQ(enumerate(hardware->falwick()), expected);
    EXPECT_EQ(hardware->ostrel().GetDMILength(nullptr), 3096U);
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA5, 2, 0), 0x0B);
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA3, 128, 0), 'M') << "M471B5674QH0";
    EXPECT_EQ(hardware->hoblin().Smbus_JRW(0xA1, 2, 0), MarkerHardware::kSmbusMarker);
}

TEST(ReplayHardware, LoadingNamesTheOptionAndFileOfEveryProblem) {
    test::TempFolder folder;
    const auto badSpd = folder / "bad.txt";
    test::writeFile(badSpd, "92 10 0b\n02 zz\n");
    const auto goodSpd = folder / "good.bin";
    test::writeFile(goodSpd, std::string(256, '\x92'));
    const auto badPci = folder / "bad-lspci.txt";
    test::writeFile(badPci, "00:00.0 Host bridge\n");
    const auto missing = (folder / "missing.bin").string();

    struct Case {
        ReplayFiles files;
        std::string message;
    };
    const Case cases[] = {
        {{.dmi = missing, .spd = {}, .pci = {}}, "--dmi " + missing + ": no such file"},
        {{.dmi = badSpd, .spd = {}, .pci = {}},
         "--dmi " + badSpd.string() + ": neither an SMBIOS entry point nor a structure table"},
        {{.dmi = {}, .spd = {"DIMM_A0=" + badSpd.string()}, .pci = {}},
         "--spd DIMM_A0=" + badSpd.string() + ": line 2: 'zz' is not a hexadecimal byte"},
        {{.dmi = {}, .spd = {"DIMM_A0"}, .pci = {}}, "--spd DIMM_A0: expected SLOT=FILE"},
        {{.dmi = {}, .spd = {"=" + goodSpd.string()}, .pci = {}}, "expected SLOT=FILE"},
        {{.dmi = {}, .spd = {"DIMM_X9=" + goodSpd.string()}, .pci = {}}, "unknown SPD slot 'DIMM_X9'"},
        {{.dmi = {}, .spd = {"DIMM_A1=" + goodSpd.string(), "0xA2=" + goodSpd.string()}, .pci = {}},
         "--spd 0xA2=" + goodSpd.string() + ": that slot is already given"},
        {{.dmi = {}, .spd = {}, .pci = badPci},
         "--pci " + badPci.string() + ": at the end: function 0000:00:00.0 has no"},
        {{.dmi = {}, .spd = {}, .pci = folder.path()},
         "--pci " + folder.path().string() + ": a folder, not a file"},
        {{.dmi = "/dev/zero", .spd = {}, .pci = {}}, "--dmi /dev/zero: a device, not a file"},
        {{.dmi = folder / "loop", .spd = {}, .pci = {}}, "a loop of symbolic links"},
        {{.dmi = folder / "fifo", .spd = {}, .pci = {}}, "a pipe that gave no data"},
    };
    std::filesystem::create_symlink(folder / "loop", folder / "loop");
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const auto sources = loadReplaySources(c.files);
        ASSERT_FALSE(sources.ok());
        EXPECT_NE(sources.error().find(c.message), std::string::npos) << sources.error();
    }
    const auto good = loadReplaySources({.dmi = {}, .spd = {"dimm_c1=" + goodSpd.string()}, .pci = {}});
    ASSERT_TRUE(good.ok()) << good.error();
    EXPECT_TRUE(good.value().spdImages.contains(0xAA));
    EXPECT_TRUE(loadReplaySources({}).value().empty());

    // A pipe, as the shell's <(…) gives it, is read like a file, however slowly its writer writes.
    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    std::thread writer([&] {
        const std::string half(128, '\x92');
        for (int part = 0; part < 2; ++part) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            [[maybe_unused]] const auto written = ::write(pipe[1], half.data(), half.size());
        }
        ::close(pipe[1]);
    });
    const auto piped =
        loadReplaySources({.dmi = {}, .spd = {"DIMM_A0=/dev/fd/" + std::to_string(pipe[0])}, .pci = {}});
    writer.join();
    ::close(pipe[0]);
    ASSERT_TRUE(piped.ok()) << piped.error();
    EXPECT_TRUE(piped.value().spdImages.contains(0xA0));
}

} // namespace
} // namespace solvane::hw

#include "hw/replay/ReplaySources.h"

#include "hw/replay/ReplayDmi.h"
#include "hw/replay/ReplaySpd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace solvane::hw {

namespace {

// Far above any real dump (the largest lspci -xxxx dumps run to a few megabytes), low enough that a
// wrong file named by mistake is refused before it is read into memory.
constexpr std::uintmax_t kMaximumDumpBytes = 64U * 1024U * 1024U;

// Why a dump cannot be opened, in the user's terms.
std::string openProblem(int error) {
    switch (error) {
    case ENOENT:
        return "no such file";
    case ELOOP:
        return "a loop of symbolic links";
    case EACCES:
        return "permission denied";
    default:
        return std::string("cannot open the file: ") + std::strerror(error);
    }
}

// A dump as a regular file or a pipe (such as <(dmidecode --dump-bin …)), read whole.
ReplayResult<std::vector<std::uint8_t>> readDumpFile(const std::filesystem::path& path) {
    using Result = ReplayResult<std::vector<std::uint8_t>>;
    // Non-blocking at first, so that a FIFO nobody writes into cannot hold up the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return Result::failure(openProblem(errno));
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Result::failure(std::string("cannot read the file: ") + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        return Result::failure("a folder, not a file");
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return Result::failure("a device, not a file");
    const bool pipe = S_ISFIFO(info.st_mode);
    if (!pipe && !S_ISREG(info.st_mode))
        return Result::failure("not a file");
    if (pipe)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    while (true) {
        const auto got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Result::failure(std::string("cannot read the file: ") + std::strerror(errno));
        }
        if (got == 0)
            break;
        bytes.insert(bytes.end(), buffer, buffer + got);
        if (bytes.size() > kMaximumDumpBytes)
            return Result::failure("the file is too large for a dump (more than " +
                                   std::to_string(kMaximumDumpBytes) + " bytes)");
    }
    if (pipe && bytes.empty())
        return Result::failure("a pipe that gave no data");
    return bytes;
}

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Reads one dump and parses it; an error of either step is prefixed with the option as given.
template <class Parser>
auto loadDump(const std::string& option, const std::filesystem::path& path, Parser parse)
    -> decltype(parse(std::vector<std::uint8_t>{})) {
    using Result = decltype(parse(std::vector<std::uint8_t>{}));
    const auto bytes = readDumpFile(path);
    if (!bytes)
        return Result::failure(option + ": " + bytes.error());
    auto parsed = parse(bytes.value());
    if (!parsed)
        return Result::failure(option + ": " + parsed.error());
    return parsed;
}

} // namespace

ReplayResult<ReplaySources> loadReplaySources(const ReplayFiles& files) {
    using Result = ReplayResult<ReplaySources>;
    ReplaySources sources;

    if (!files.dmi.empty()) {
        auto table = loadDump("--dmi " + files.dmi.string(), files.dmi,
                              [](const std::vector<std::uint8_t>& bytes) { return parseDmiDump(bytes); });
        if (!table)
            return Result::failure(table.error());
        sources.dmiTable = std::move(table).value();
    }

    for (const auto& argument : files.spd) {
        const std::string option = "--spd " + argument;
        const auto equals = argument.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == argument.size())
            return Result::failure(option + ": expected SLOT=FILE, for example DIMM_A0=module.bin");
        const auto slot = parseSpdSlot(std::string_view(argument).substr(0, equals));
        if (!slot)
            return Result::failure(option + ": " + slot.error());
        if (sources.spdImages.contains(slot.value()))
            return Result::failure(option + ": that slot is already given");
        auto image = loadDump(option, argument.substr(equals + 1),
                              [](const std::vector<std::uint8_t>& bytes) { return parseSpdImage(bytes); });
        if (!image)
            return Result::failure(image.error());
        sources.spdImages.emplace(slot.value(), std::move(image).value());
    }

    if (!files.pci.empty()) {
        auto functions =
            loadDump("--pci " + files.pci.string(), files.pci,
                     [](const std::vector<std::uint8_t>& bytes) { return parsePciDump(asText(bytes)); });
        if (!functions)
            return Result::failure(functions.error());
        sources.pciFunctions = std::move(functions).value();
    }
    return sources;
}

} // namespace solvane::hw

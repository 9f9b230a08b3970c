#include "sysinfo/MotherboardInfo.h"

#include "sysinfo/BoardModelName.h"
#include "sysinfo/ProcessorFields.h"

namespace solvane::sysinfo {

namespace {

using Value = MotherboardValue;
using Property = hw::VideoControllerQuery::Property;

void setGraphics(const MotherboardSources& sources, MotherboardInfo& info) {
    std::string driverVersion = fittedToTextBuffer(firstValue(sources.controllers, Property::DriverVersion));
    std::string chip = sources.facts.GraphicsChip;
    if (chip.empty())
        chip = firstValue(sources.controllers, Property::Name);
    std::string biosVersion(kUnknownGraphicsBios);
    if (sources.graphicsLibrary.Init() != 0) {
        sources.graphicsLibrary.GetVGABIOSVersion(biosVersion);
        sources.graphicsLibrary.GetDriverVersion(driverVersion);
        biosVersion = fittedToTextBuffer(std::move(biosVersion));
        driverVersion = fittedToTextBuffer(std::move(driverVersion));
    }
    if (biosVersion == kUnknownGraphicsBios)
        biosVersion = sources.probeGraphicsBios ? sources.probeGraphicsBios() : std::string();
    info.value(Value::DriverVersion) = std::move(driverVersion);
    info.value(Value::BiosVersion) = std::move(biosVersion);
    info.value(Value::Chipset) = std::move(chip);
}

} // namespace

std::string fittedToTextBuffer(std::string text) {
    if (text.size() >= hw::Pexmon::kTextBufferSize)
        text.resize(hw::Pexmon::kTextBufferSize - 1);
    return text;
}

MotherboardInfo gatherMotherboardInfo(const MotherboardSources& sources) {
    const auto& platform = sources.platform;
    MotherboardInfo info;
    info.superIo = identifySuperIo(sources.superIo);
    info.value(Value::ProductName) = boardModelName(platform, sources.noDdr3Module);
    info.bridges = bridgeRows(sources.facts);

    info.value(Value::Manufacturer) = platform.baseboardManufacturer;
    info.value(Value::SerialNumber) = platform.baseboardSerialNumber;
    info.value(Value::VendorName) = platform.biosVendor;
    info.value(Value::Version) = platform.biosVersion;
    info.value(Value::BuildDate) = platform.biosReleaseDate;
    info.value(Value::CoreVoltage) = sources.coreVoltage;
    info.value(Value::ExternalClock) = platform.externalClock;
    info.value(Value::NumberOfProcessors) = std::to_string(sources.processorCount);
    info.value(Value::ProcessorId) = platform.processorId;

    info.value(Value::ProcessorName) = cleanProcessorName(platform.processorVersion);
    if (const auto signature = processorSignature(platform.processorId)) {
        info.value(Value::Family) = std::string(1, signature->family);
        info.value(Value::Model) = std::string(1, signature->model);
        info.value(Value::Stepping) = std::string(1, signature->stepping);
    }

    setGraphics(sources, info);
    return info;
}

} // namespace solvane::sysinfo

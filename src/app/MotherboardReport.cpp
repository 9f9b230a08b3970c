#include "app/MotherboardReport.h"

namespace solvane::app {

namespace {

json::Object bridgeJson(const sysinfo::BridgeRow& row) {
    return {{"caption", row.caption}, {"vendor", row.vendor}, {"chip", row.chip}};
}

std::string makerLine(std::string_view caption, const std::string& vendor, const std::string& chip) {
    return "  " + std::string(caption) + ": " + vendor + (vendor.empty() || chip.empty() ? "" : " ") + chip +
           "\n";
}

} // namespace

json::Object motherboardReportJson(const sysinfo::MotherboardInfo& info) {
    json::Object object;
    for (std::size_t index = 0; index < sysinfo::kMotherboardValueCount; ++index) {
        const auto& value = info.values[index];
        object.insert(std::string(sysinfo::kMotherboardValueCaptions[index]),
                      value ? json::Value(*value) : json::Value());
    }
    object.insert("northBridge", bridgeJson(info.bridges.north));
    object.insert("southBridge", bridgeJson(info.bridges.south));
    object.insert("superIo", json::Object{{"vendor", info.superIo.vendor}, {"chip", info.superIo.chip}});
    return object;
}

std::string motherboardReportText(const sysinfo::MotherboardInfo& info,
                                  const std::function<std::string(std::string_view)>& shown) {
    std::string text = "Motherboard information:\n";
    for (std::size_t index = 0; index < sysinfo::kMotherboardValueCount; ++index)
        if (const auto& value = info.values[index])
            text +=
                "  " + std::string(sysinfo::kMotherboardValueCaptions[index]) + ": " + shown(*value) + "\n";
    const auto& bridges = info.bridges;
    text += makerLine(bridges.north.caption, shown(bridges.north.vendor), shown(bridges.north.chip));
    text += makerLine(bridges.south.caption, shown(bridges.south.vendor), shown(bridges.south.chip));
    text += makerLine(sysinfo::kSuperIoCaption, info.superIo.vendor, info.superIo.chip);
    return text;
}

} // namespace solvane::app

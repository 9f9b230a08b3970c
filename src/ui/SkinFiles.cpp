#include "ui/SkinFiles.h"

#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

namespace solvane::ui::skin {

namespace {
// Enough names to recognise the problem without a wall of text.
constexpr std::size_t kNamesShown = 8;
} // namespace

std::vector<std::string> requiredSkinFiles() {
    std::vector<std::string> files;
    for (const auto& bitmap : kBitmaps)
        files.emplace_back(bitmap.file);
    auto addButton = [&](const MainButton& button) {
        for (const auto ending : kMainButtonStateEndings)
            files.push_back(std::string(button.baseName) + std::string(ending));
    };
    for (const auto& button : kMainButtons)
        addButton(button);
    addButton(kWidePciButton);
    return files;
}

std::vector<std::string> missingSkinFiles(const std::filesystem::path& folder) {
    std::vector<std::string> missing;
    for (auto& file : requiredSkinFiles()) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(folder / file, error))
            missing.push_back(std::move(file));
    }
    return missing;
}

std::string describeMissingSkinFiles(const std::vector<std::string>& missing,
                                     const std::filesystem::path& folder) {
    std::string text = "Solvane cannot show its window: " + std::to_string(missing.size()) +
                       (missing.size() == 1 ? " skin file is" : " skin files are") + " missing from " +
                       folder.string() + ":\n";
    for (std::size_t i = 0; i < missing.size() && i < kNamesShown; ++i)
        text += (i == 0 ? "" : ", ") + missing[i];
    if (missing.size() > kNamesShown)
        text += " and " + std::to_string(missing.size() - kNamesShown) + " more";
    return text + ".";
}

} // namespace solvane::ui::skin

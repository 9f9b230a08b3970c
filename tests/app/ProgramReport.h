#pragma once

// The real program's report run on a private state folder, for the tests of what scripts read.
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::test {

inline QJsonObject parseJson(const std::string& text) {
    QJsonParseError error{};
    const auto document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return document.object();
}

class ProgramReport : public ::testing::Test {
protected:
    void SetUp() override {
        program = solvane::test::programFolder() / "solvane";
        if (!std::filesystem::exists(program))
            GTEST_SKIP() << "the program is not built at " << program;
    }
    // The report's text for these options, the run expected to succeed.
    std::string report(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(),
                         {"--report", "--batch", "--seed", "5", "--state-dir", state.path().string()});
        std::string output;
        std::string errors;
        EXPECT_EQ(solvane::test::runProgram(program, arguments, {{"QT_QPA_PLATFORM", "offscreen"}}, &errors,
                                            &output),
                  0)
            << errors;
        return output;
    }
    // One top-level object of the JSON report.
    QJsonObject jsonSection(std::vector<std::string> arguments, std::string_view name) {
        arguments.push_back("--json");
        return parseJson(report(std::move(arguments)))
            .value(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())))
            .toObject();
    }

    std::filesystem::path program;
    solvane::test::TempFolder state;
};

} // namespace solvane::test

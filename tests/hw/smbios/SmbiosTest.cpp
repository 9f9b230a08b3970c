#include "hw/smbios/SmbiosDump.h"
#include "hw/smbios/SmbiosTableReader.h"
#include "support/SmbiosBuilder.h"

#include <gtest/gtest.h>
#include <vector>

namespace solvane::hw {
namespace {

using test::SmbiosRecord;

std::vector<SmbiosStructure> readAll(std::span<const std::uint8_t> table, SmbiosTableEnd* end = nullptr) {
    SmbiosTableReader reader(table);
    std::vector<SmbiosStructure> structures;
    while (const auto structure = reader.next())
        structures.push_back(*structure);
    if (end != nullptr)
        *end = reader.end();
    return structures;
}

std::vector<std::uint8_t> sampleTable() {
    test::SmbiosIdentity identity;
    identity.baseboardProduct = "Elm-E4 (KX-2917)";
    return test::identityTable(identity);
}

TEST(SmbiosTableReader, WalksStructuresAndLooksStringsUp) {
    SmbiosRecord blank(0x80, 6, 0x0030); // an OEM structure without strings: two zeros after it
    blank.word(4, 0xBEEF);
    test::SmbiosIdentity identity;
    identity.baseboardProduct = "Elm-E4 (KX-2917)";
    const auto table = test::tableOf({test::biosRecord(identity), blank,
                                      test::baseboardRecord(identity, 0x0002), test::endOfTableRecord()});

    SmbiosTableEnd end{};
    const auto structures = readAll(table, &end);
    ASSERT_EQ(structures.size(), 4U);
    EXPECT_EQ(end, SmbiosTableEnd::EndOfTable);
    EXPECT_EQ(structures[0].type(), 0);
    EXPECT_EQ(structures[0].length(), 0x18U);
    EXPECT_EQ(structures[0].stringAt(0x04), "Tarvok BIOS Works");
    EXPECT_EQ(structures[0].stringAt(0x08), "06/15/2009");
    EXPECT_EQ(structures[1].handle(), 0x0030);
    EXPECT_TRUE(structures[1].strings().empty());
    EXPECT_EQ(structures[1].wordAt(4), 0xBEEF);
    EXPECT_EQ(structures[2].stringAt(0x05), "Elm-E4 (KX-2917)");
    EXPECT_EQ(structures[2].string(4), "TV0123456789");
    EXPECT_EQ(structures[3].type(), SmbiosTableReader::kEndOfTableType);
    EXPECT_EQ(end, SmbiosTableEnd::EndOfTable);
    EXPECT_EQ(structures.size(), 4U);
}

TEST(SmbiosStructure, FieldsAndStringsOutsideTheStructureReadAsEmpty) {
    const auto table = sampleTable();
    const auto bios = *SmbiosTableReader(table).next();
    EXPECT_FALSE(bios.string(0)) << "string number 0 means not specified";
    EXPECT_FALSE(bios.string(4)) << "the BIOS structure carries three strings";
    EXPECT_FALSE(bios.string(255));
    EXPECT_TRUE(bios.byteAt(0x17));
    EXPECT_FALSE(bios.byteAt(0x18));
    EXPECT_FALSE(bios.wordAt(0x17));
    EXPECT_FALSE(bios.qwordAt(0x11));
    EXPECT_FALSE(bios.stringAt(0x40));
    EXPECT_FALSE(bios.qwordAt(SIZE_MAX - 2)) << "offsets near the top of the range must not wrap";
}

TEST(SmbiosTableReader, StopsAtEveryKindOfMalformedStructure) {
    const auto good = test::biosRecord({}).bytes();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> tail;
        SmbiosTableEnd end;
    };
    const std::vector<Case> cases = {
        {"zero length", {0x01, 0x00, 0x05, 0x00, 0x00, 0x00}, SmbiosTableEnd::BadLength},
        {"length below the header", {0x01, 0x03, 0x05, 0x00, 0x00, 0x00}, SmbiosTableEnd::BadLength},
        {"formatted area past the end", {0x01, 0x20, 0x05, 0x00, 0x00, 0x00}, SmbiosTableEnd::LengthPastEnd},
        {"strings without the closing zero",
         {0x01, 0x04, 0x05, 0x00, 'a', 'b', 0x00},
         SmbiosTableEnd::UnterminatedStrings},
        {"no string set at all", {0x01, 0x04, 0x05, 0x00}, SmbiosTableEnd::UnterminatedStrings},
        {"a lone zero after the formatted area",
         {0x01, 0x04, 0x05, 0x00, 0x00},
         SmbiosTableEnd::UnterminatedStrings},
        {"three bytes left over", {0x01, 0x04, 0x05}, SmbiosTableEnd::EndOfData},
        {"nothing after", {}, SmbiosTableEnd::EndOfData},
    };
    for (const auto& c : cases) {
        auto table = good;
        table.insert(table.end(), c.tail.begin(), c.tail.end());
        SmbiosTableEnd end{};
        const auto structures = readAll(table, &end);
        EXPECT_EQ(end, c.end) << c.what;
        ASSERT_EQ(structures.size(), 1U)
            << c.what << ": the good structure before it is kept, the bad one refused";
        EXPECT_EQ(structures[0].stringAt(0x05), "V1.4") << c.what;
    }
}

TEST(SmbiosTableReader, EndOfTableEndsTheWalkEvenWithBytesAfterIt) {
    const auto table = test::tableOf({test::endOfTableRecord(), test::biosRecord({})});
    SmbiosTableEnd end{};
    EXPECT_EQ(readAll(table, &end).size(), 1U);
    EXPECT_EQ(end, SmbiosTableEnd::EndOfTable);
}

TEST(SmbiosStructure, AnEmptyStringEndsTheSetAsFirmwareReadersExpect) {
    // Strings "", "abc": the empty first string can only be read as the end of the set.
    const std::vector<std::uint8_t> table = {0x01, 0x06, 0x00, 0x00, 0x02, 0x01,
                                             0x00, 'a',  'b',  'c',  0x00, 0x00};
    const auto structure = *SmbiosTableReader(table).next();
    EXPECT_FALSE(structure.string(1));
    EXPECT_FALSE(structure.string(2));
}

// Every prefix of a table and every single-byte change of it: the walk ends without error, and
// each view it hands out lies inside the buffer.
TEST(SmbiosTableReader, NeverHandsOutBytesOutsideTheBuffer) {
    const auto original = sampleTable();
    auto checkInside = [](std::span<const std::uint8_t> buffer) {
        const auto* begin = buffer.data();
        const auto* end = buffer.data() + buffer.size();
        for (const auto& structure : readAll(buffer)) {
            for (const auto part : {structure.formatted(), structure.strings()})
                ASSERT_TRUE(part.empty() || (part.data() >= begin && part.data() + part.size() <= end));
            for (int index = 1; index < 256; ++index)
                if (const auto text = structure.string(static_cast<std::uint8_t>(index))) {
                    const auto* first = reinterpret_cast<const std::uint8_t*>(text->data());
                    ASSERT_TRUE(first >= begin && first + text->size() <= end);
                }
        }
    };
    for (std::size_t size = 0; size <= original.size(); ++size) {
        // A copy of exactly that size, so that a read past it is a heap overflow the sanitizer sees.
        const std::vector<std::uint8_t> prefix(original.begin(),
                                               original.begin() + static_cast<std::ptrdiff_t>(size));
        checkInside(prefix);
    }
    for (std::size_t at = 0; at < original.size(); ++at)
        for (const std::uint8_t value : {0x00, 0x01, 0x03, 0x7F, 0xFF}) {
            auto changed = original;
            changed[at] = value;
            checkInside(changed);
        }
}

TEST(SmbiosDump, ReadsBareTablesAndTheThreeEntryPoints) {
    const auto table = sampleTable();

    const auto bare = readSmbiosDump(table);
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->kind, SmbiosDumpKind::BareTable);
    EXPECT_EQ(bare->table.data(), table.data());
    EXPECT_EQ(bare->table.size(), table.size());

    struct Case {
        std::vector<std::uint8_t> file;
        SmbiosDumpKind kind;
        std::uint8_t major;
        std::uint8_t minor;
    };
    const std::vector<Case> cases = {
        {test::dumpWith21EntryPoint(table), SmbiosDumpKind::EntryPoint21, 2, 6},
        {test::dumpWith30EntryPoint(table), SmbiosDumpKind::EntryPoint30, 3, 3},
        {test::dumpWithLegacyEntryPoint(table), SmbiosDumpKind::LegacyEntryPoint, 2, 6},
    };
    for (const auto& c : cases) {
        const auto dump = readSmbiosDump(c.file);
        ASSERT_TRUE(dump) << static_cast<int>(c.kind);
        EXPECT_EQ(dump->kind, c.kind);
        EXPECT_EQ(dump->majorVersion, c.major);
        EXPECT_EQ(dump->minorVersion, c.minor);
        EXPECT_TRUE(std::equal(dump->table.begin(), dump->table.end(), table.begin(), table.end()));
    }
}

TEST(SmbiosDump, RefusesBrokenEntryPointsAndKeepsWhatATruncatedFileHolds) {
    const auto table = sampleTable();
    for (auto file : {test::dumpWith21EntryPoint(table), test::dumpWith30EntryPoint(table),
                      test::dumpWithLegacyEntryPoint(table)}) {
        auto badChecksum = file;
        badChecksum[0x0B] ^= 0x5A;
        EXPECT_FALSE(readSmbiosDump(badChecksum));

        EXPECT_FALSE(readSmbiosDump(std::span(file).first(12))) << "entry point cut short";

        // Cut just before offset 0x20, the file no longer reaches the table address.
        EXPECT_FALSE(readSmbiosDump(std::span(file).first(0x1F)));
        const auto emptyTable = readSmbiosDump(std::span(file).first(0x20));
        ASSERT_TRUE(emptyTable);
        EXPECT_TRUE(emptyTable->table.empty());

        const auto cut = readSmbiosDump(std::span(file).first(file.size() - 10));
        ASSERT_TRUE(cut);
        EXPECT_EQ(cut->table.size(), table.size() - 10);
    }
    std::vector<std::uint8_t> oddLength = test::dumpWith30EntryPoint(table);
    oddLength[0x06] = 0x40; // an entry point length no firmware uses
    EXPECT_FALSE(readSmbiosDump(oddLength));

    // A 3.0 entry point one byte shorter or longer than any firmware writes is refused even when
    // its checksum over that length holds; the shortest and longest are read.
    const auto entryPointOfLength = [&](std::uint8_t length) {
        auto file = test::dumpWith30EntryPoint(table);
        file[0x06] = length;
        std::uint8_t sum = 0;
        for (std::size_t i = 0; i < length; ++i)
            sum = static_cast<std::uint8_t>(sum + file[i]);
        file[0x05] = static_cast<std::uint8_t>(file[0x05] - sum);
        return file;
    };
    for (const auto& [length, read] :
         std::vector<std::pair<std::uint8_t, bool>>{{0x17, false}, {0x18, true}, {0x20, true}, {0x21, false}})
        EXPECT_EQ(readSmbiosDump(entryPointOfLength(length)).has_value(), read) << int{length};
}

} // namespace
} // namespace solvane::hw

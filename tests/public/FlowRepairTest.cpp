#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "public/Flow.h"
#include "public/FlowRepair.h"
#include "tests/public/FlowTestSupport.h"

using namespace quorex;
namespace fs = std::filesystem;

namespace {

using EDamage = TFlowCheck::EDamage;
constexpr std::uint32_t kMaxRecord = 64;

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class FlowRepairTest : public ::testing::Test {
protected:
    // A flow of count records of 1 to 37 bytes each, so that offsets differ from record to record.
    void WriteFlow(std::uint32_t count) {
        CFlow flow(idPath.c_str(), contentPath.c_str(), false);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::vector<std::uint8_t> data(i % 37 + 1, static_cast<std::uint8_t>(i));
            flow.Append(data, 1'700'000'000);
        }
    }
    TFlowCheck Check() const { return CheckFlowFiles(idPath, contentPath, kMaxRecord); }
    // Repairs what the check found and reopens the flow: its record count.
    std::uint32_t RepairAndReopen() {
        const TFlowCheck check = Check();
        EXPECT_FALSE(check.Damaged());
        EXPECT_TRUE(RepairFlowFiles(idPath, contentPath, check));
        CFlow flow(idPath.c_str(), contentPath.c_str(), true);
        return flow.Count();
    }

    ScratchDirectory dir;
    std::string idPath = dir.File("flow.id");
    std::string contentPath = dir.File("flow.con");
};

TEST_F(FlowRepairTest, WholeAndMissingFlowsNeedNothing) {
    EXPECT_FALSE(Check().NeedsRepair());
    EXPECT_FALSE(Check().Damaged());
    WriteFlow(250);
    const TFlowCheck check = Check();
    EXPECT_FALSE(check.NeedsRepair());
    EXPECT_EQ(check.records, 250u);
    EXPECT_EQ(check.contentKeep, fs::file_size(contentPath));
}

// A kill at any byte of the last append: every cut inside the last record, also of a hundredth
// record, whose id entry is then not written yet.
TEST_F(FlowRepairTest, EveryCutInsideTheLastRecordIsRepairedToTheRecordsBefore) {
    for (const std::uint32_t count : {1u, 57u, 100u, 200u}) {
        WriteFlow(count);
        const std::string content = FileBytes(contentPath);
        const std::string id = FileBytes(idPath);
        const std::uint32_t lastLength = (count - 1) % 37 + 1;
        const std::size_t lastStart = content.size() - 8 - lastLength;
        for (std::size_t cut = lastStart + 1; cut < content.size(); ++cut) {
            SCOPED_TRACE("records " + std::to_string(count) + ", cut at " + std::to_string(cut));
            WriteBytes(contentPath, content.substr(0, cut));
            // An interrupted append never reaches the id entry of its record.
            WriteBytes(idPath, count % 100 == 0 ? id.substr(0, id.size() - 4) : id);
            const TFlowCheck check = Check();
            EXPECT_EQ(check.TornBytes(), cut - lastStart);
            EXPECT_EQ(RepairAndReopen(), count - 1);
            EXPECT_EQ(FileBytes(contentPath), content.substr(0, lastStart));
        }
    }
}

TEST_F(FlowRepairTest, ATornOrMissingLastIdEntryIsWrittenAgain) {
    WriteFlow(200);
    const std::string id = FileBytes(idPath);
    for (std::size_t cut = 4; cut < 8; ++cut) {
        SCOPED_TRACE("id cut at " + std::to_string(cut));
        WriteBytes(idPath, id.substr(0, cut));
        EXPECT_EQ(RepairAndReopen(), 200u);
        EXPECT_EQ(FileBytes(idPath), id);
    }
}

// What only a crash of the machine leaves: the id entry of a hundredth record on disk, the
// record itself torn. The entry goes with its record.
TEST_F(FlowRepairTest, TheIdEntryOfATornHundredthRecordGoesWithIt) {
    WriteFlow(100);
    const std::string content = FileBytes(contentPath);
    WriteBytes(contentPath, content.substr(0, content.size() - 3));
    EXPECT_EQ(RepairAndReopen(), 99u);
    EXPECT_EQ(fs::file_size(idPath), 0u);
}

TEST_F(FlowRepairTest, DamageIsReportedAndNothingIsChanged) {
    WriteFlow(250);
    const std::string content = FileBytes(contentPath);
    const std::string id = FileBytes(idPath);
    const auto expectDamage = [&](EDamage damage, std::uint32_t record) {
        const TFlowCheck check = Check();
        EXPECT_EQ(check.damage, damage);
        EXPECT_EQ(check.record, record);
        EXPECT_FALSE(check.NeedsRepair());
        EXPECT_FALSE(RepairFlowFiles(idPath, contentPath, check));
    };

    std::string longRecord = content;
    longRecord[0] = static_cast<char>(kMaxRecord + 1);
    WriteBytes(contentPath, longRecord);
    expectDamage(EDamage::kRecordTooLong, 0);
    EXPECT_EQ(FileBytes(contentPath), longRecord);

    WriteBytes(contentPath, content);
    std::string wrongEntry = id;
    wrongEntry[4] ^= 1;
    WriteBytes(idPath, wrongEntry);
    expectDamage(EDamage::kIdEntryWrong, 2);

    WriteBytes(idPath, "");
    expectDamage(EDamage::kIdEntriesMissing, 2);
    EXPECT_EQ(FileBytes(idPath), "");

    WriteBytes(idPath, id);
    fs::remove(contentPath);
    expectDamage(EDamage::kContentMissing, 0);
}

}  // namespace

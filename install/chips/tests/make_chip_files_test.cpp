#include <gtest/gtest.h>

#include <filesystem>

#include "child_process.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;

child_result make_chip_files(const std::string& setup, const std::string& bin) {
    return run_child(MAKE_CHIP_FILES, {setup, bin});
}

std::vector<std::string> listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(MakeChipFiles, WritesOnlyWhatSetupOffersAndReplacesOldChipFolders) {
    const fs::path folder = test_folder();
    const fs::path bin = folder / "bin";
    fs::create_directories(bin / "3x1");  // a chip folder setup.ini no longer offers
    write_text(bin / "3x1" / "3x1.ini", "[Global]\nOffset=800\n");
    fs::create_directories(bin / "1x9");  // not a mode key: no trigger mode 9
    fs::create_directories(bin / "docs");
    write_text(bin / "qavgen", "program");
    // Pack bits above the six modes are ignored; Y1 and Z1 share digit 1.
    write_text(folder / "setup.ini",
               "[System]\nSysChk=1\n[Y1]\nSymbol=KOVA3K10\nSize=0x8000\nPack=0x02\n"
               "[Y4]\nSymbol=\nPack=0x01\n[Z1]\nSymbol=KOVA10\nSize=32768\nPack=0xC3\n");
    const child_result r = make_chip_files((folder / "setup.ini").string(), bin.string());
    ASSERT_EQ(r.exit_code, 0) << r.error_output;
    EXPECT_EQ(listing(bin), (std::vector<std::string>{
                                "1x1", "1x1/1x1.ini", "1x1/Z121.pgm", "1x1/Z171.pgm", "1x1/Z1x1.pdf",
                                "1x2", "1x2/1x2.ini", "1x2/Y122.pgm", "1x2/Y172.pgm", "1x2/Y1x2.pdf", "1x2/Z122.pgm",
                                "1x2/Z172.pgm", "1x2/Z1x2.pdf", "1x9", "docs", "qavgen"}));
    EXPECT_EQ(read_text(bin / "qavgen"), "program");

    // Running it again gives the same files.
    const std::vector<uint8_t> template_before = read_file(bin / "1x2" / "Y122.pgm");
    ASSERT_EQ(make_chip_files((folder / "setup.ini").string(), bin.string()).exit_code, 0);
    EXPECT_EQ(read_file(bin / "1x2" / "Y122.pgm"), template_before);
}

TEST(MakeChipFiles, RefusesWhatTheTableCannotServeAndLeavesTheFolderAlone) {
    const fs::path folder = test_folder();
    const fs::path bin = folder / "bin";
    fs::create_directories(bin / "1x1");
    write_text(bin / "1x1" / "1x1.ini", "old");
    struct refusal {
        std::string setup, message;
    };
    const std::vector<refusal> refusals = {
        {"[Y5]\nSymbol=KOVA3K99\nPack=1\n", "device Y5"},
        {"[Z2]\nSymbol=KOVA21\nPack=0x20\n", "(2x5)"},  // digit 2 has no CPU Serial Command settings
    };
    for (const refusal& bad : refusals) {
        write_text(folder / "setup.ini", bad.setup);
        const child_result r = make_chip_files((folder / "setup.ini").string(), bin.string());
        EXPECT_EQ(r.exit_code, 1) << bad.setup;
        EXPECT_TRUE(contains(r.error_output, bad.message)) << r.error_output;
        EXPECT_EQ(read_text(bin / "1x1" / "1x1.ini"), "old");
    }
    const child_result r = make_chip_files((folder / "none.ini").string(), bin.string());
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(contains(r.error_output, "cannot read")) << r.error_output;
    EXPECT_EQ(run_child(MAKE_CHIP_FILES, {}).exit_code, 1);
}

}  // namespace

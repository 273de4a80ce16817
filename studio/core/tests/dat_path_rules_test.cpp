#include "dat_path_rules.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "test_files.h"

namespace fs = std::filesystem;

namespace {

class DatPathRule : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program + "bin/1x2");
        fs::create_directories(program + "temp");
        fs::create_directories(folder + "/dats");
        write_text(program + "bin/qavgen", "program");
        write_text(program + "bin/1x2/Y122.pgm", "template");
    }

    bool refused(const std::string& dat) const { return dat_path_refused(program, dat); }

    std::string folder = test_folder();
    std::string program = folder + "/kova/";
};

TEST_F(DatPathRule, OrdinaryPathsPass) {
    EXPECT_FALSE(refused(folder + "/dats/hello.dat"));
    EXPECT_FALSE(refused(folder + "/dats/with blank and ünïcode.dat"));
    EXPECT_FALSE(refused(program + "hello.dat"));
    EXPECT_FALSE(refused(program + "temp/hello.dat"));
    EXPECT_FALSE(refused(program + "temp/Script.dat"));
    EXPECT_FALSE(refused(program + "binary.dat"));
    EXPECT_FALSE(refused(folder + "/dats/bin/qavgen"));
}

TEST_F(DatPathRule, QuotesAndControlCharactersAreRefused) {
    EXPECT_TRUE(refused(""));
    EXPECT_TRUE(refused(folder + "/dats/a\"b.dat"));
    EXPECT_TRUE(refused(folder + "/dats/a\nb.dat"));
    EXPECT_TRUE(refused(folder + "/dats/a\rb.dat"));
    EXPECT_TRUE(refused(folder + "/dats/a\tb.dat"));
    EXPECT_TRUE(refused(folder + "/da\x7Fts/ab.dat"));
}

TEST_F(DatPathRule, TheInstallationsProgramsAndChipFilesAreRefused) {
    EXPECT_TRUE(refused(program + "bin/qavgen"));
    EXPECT_TRUE(refused(program + "bin/1x2/Y122.pgm"));
    EXPECT_TRUE(refused(program + "bin/new.dat"));
    EXPECT_TRUE(refused(program + "bin"));
    EXPECT_TRUE(refused(program + "bin/"));
}

TEST_F(DatPathRule, ThePipelinesOwnFilesAreRefused) {
    for (const std::string name : {"Script.txt", "Table.txt", "Script.mf0", "result.lns", "QavGen.log",
                                   "shadow.dat", "temp.csm"}) {
        EXPECT_TRUE(refused(program + "temp/" + name)) << name;
    }
    // Names are compared as the file system does: letter case counts.
    EXPECT_FALSE(refused(program + "temp/script.txt"));
}

TEST_F(DatPathRule, SpellingsOfTheSamePathCannotSlipThrough) {
    EXPECT_TRUE(refused(program + "temp/../bin/qavgen"));
    EXPECT_TRUE(refused(program + "./temp//Table.txt"));
    EXPECT_TRUE(refused(folder + "/dats/../kova/temp/./shadow.dat"));
    EXPECT_TRUE(dat_path_refused(folder + "/kova", program + "temp/temp.csm"));
    EXPECT_TRUE(dat_path_refused(folder + "//kova/./", program + "bin/x.dat"));

    // A relative path is taken from the working folder.
    const fs::path before = fs::current_path();
    fs::current_path(program + "temp");
    EXPECT_TRUE(refused("result.lns"));
    EXPECT_TRUE(refused("../bin/qavgen"));
    EXPECT_FALSE(refused("mine.dat"));
    fs::current_path(before);
}

TEST_F(DatPathRule, LinksAreFollowed) {
    // A linked folder leading into the installation.
    fs::create_directory_symlink(program + "bin", folder + "/dats/tools");
    EXPECT_TRUE(refused(folder + "/dats/tools/qavgen"));
    EXPECT_TRUE(refused(folder + "/dats/tools/fresh.dat"));
    // A linked file, also one whose target is not there yet.
    fs::create_symlink(program + "temp/Table.txt", folder + "/dats/table.dat");
    EXPECT_TRUE(refused(folder + "/dats/table.dat"));
    fs::create_symlink("../kova/bin/made.dat", folder + "/dats/made.dat");
    EXPECT_TRUE(refused(folder + "/dats/made.dat"));
    // A hard link to an installed file.
    fs::create_hard_link(program + "bin/1x2/Y122.pgm", folder + "/dats/copy.dat");
    EXPECT_TRUE(refused(folder + "/dats/copy.dat"));
    // The program folder reached through a link.
    fs::create_directory_symlink(program, folder + "/alias");
    EXPECT_TRUE(dat_path_refused(folder + "/alias/", program + "temp/Script.mf0"));
    EXPECT_TRUE(refused(folder + "/alias/temp/Script.mf0"));
    // A loop of links cannot be resolved.
    fs::create_symlink(folder + "/dats/loop2", folder + "/dats/loop1");
    fs::create_symlink(folder + "/dats/loop1", folder + "/dats/loop2");
    EXPECT_TRUE(refused(folder + "/dats/loop1"));
    // A link to an ordinary file passes.
    write_text(folder + "/dats/real.dat", "");
    fs::create_symlink(folder + "/dats/real.dat", folder + "/dats/alias.dat");
    EXPECT_FALSE(refused(folder + "/dats/alias.dat"));
}

}  // namespace

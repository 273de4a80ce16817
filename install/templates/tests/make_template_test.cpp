#include <gtest/gtest.h>

#include "child_process.h"
#include "template_image.h"
#include "test_files.h"

namespace {

child_result make_template(const std::string& out, const std::string& level, const std::string& start,
                           const std::string& end) {
    return run_child(MAKE_TEMPLATE, {out, "KOVA3k10", level, "1000", start, end, "50"});
}

TEST(MakeTemplate, RefusesALevelTwoRangeStartingRightAfterTheSystemInformation) {
    const std::string out = test_folder() + "/t.pgm";
    const child_result r = make_template(out, "II", "2C", "12C");
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_TRUE(contains(r.error_output, "QavChk cannot verify")) << r.error_output;
    EXPECT_FALSE(file_exists(out));
}

TEST(MakeTemplate, AcceptsRangesTheCheckerCanRead) {
    const std::string folder = test_folder();
    // The first block boundary after L = 44, an empty range at 44, and a level I
    // range starting right at L = 16, which is a multiple of 8.
    const std::vector<std::vector<std::string>> accepted = {{"II", "30", "130"}, {"II", "2C", "2C"},
                                                            {"I", "10", "110"}, {"I", "2C", "12C"}};
    for (const auto& args : accepted) {
        const std::string out = folder + "/" + args[0] + "_" + args[1] + ".pgm";
        const child_result r = make_template(out, args[0], args[1], args[2]);
        EXPECT_EQ(r.exit_code, 0) << args[0] << " " << args[1] << ": " << r.error_output;
        EXPECT_EQ(read_file(out).size(), 0x200u + 0x1000u) << args[0] << " " << args[1];
    }
}

TEST(TemplateVerifierProblem, OnlyANonEmptyRangeAtAnUnalignedEndOfTheSystemInformation) {
    template_spec spec;
    spec.level = 2;
    spec.cipher_start = 44;
    spec.cipher_end = 44 + 0x100;
    EXPECT_NE(template_verifier_problem(spec), "");
    // The library still makes it, for tests of the checker.
    std::string error;
    EXPECT_FALSE(template_file(spec, error).empty());

    spec.cipher_start = 48;
    spec.cipher_end = 48 + 0x100;
    EXPECT_EQ(template_verifier_problem(spec), "");
    spec.level = 1;
    spec.cipher_start = 16;
    EXPECT_EQ(template_verifier_problem(spec), "");
}

}  // namespace

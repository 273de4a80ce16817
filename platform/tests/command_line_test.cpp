#include <gtest/gtest.h>

#include <random>

#include "command_line.h"

namespace {

using words = std::vector<std::string>;

TEST(split_command_line_test, blanks_separate_and_quotes_group) {
    EXPECT_EQ(split_command_line("a  b\t\tc"), (words{"a", "b", "c"}));
    EXPECT_EQ(split_command_line("  \t lead and trail \t "), (words{"lead", "and", "trail"}));
    EXPECT_EQ(split_command_line("\"two words\" next"), (words{"two words", "next"}));
    EXPECT_EQ(split_command_line("pre\"mid dle\"post x"), (words{"premid dlepost", "x"}));
    EXPECT_EQ(split_command_line("\"tab\there\""), (words{"tab\there"}));
    EXPECT_EQ(split_command_line("\"\" x \"\""), (words{"", "x", ""}));
    EXPECT_EQ(split_command_line("\"unclosed rest  "), (words{"unclosed rest  "}));
    EXPECT_TRUE(split_command_line("").empty());
    EXPECT_TRUE(split_command_line(" \t ").empty());
}

TEST(split_command_line_test, trailing_blank_gives_no_empty_argument) {
    // Every path argument of a child command line ends with one blank.
    EXPECT_EQ(split_command_line("\"/kova/bin/qavgen\" \"/kova/temp/Link.txt\" "),
              (words{"/kova/bin/qavgen", "/kova/temp/Link.txt"}));
    EXPECT_EQ(split_command_line("\"/kova/bin/qavchk\" "), (words{"/kova/bin/qavchk"}));
}

TEST(split_command_line_test, backslashes_count_only_before_a_quote) {
    EXPECT_EQ(split_command_line(R"(a\b c\\d)"), (words{R"(a\b)", R"(c\\d)"}));
    EXPECT_EQ(split_command_line(R"(trail\ x\\)"), (words{R"(trail\)", R"(x\\)"}));
    // 2n backslashes and a quote: n backslashes, the quote groups.
    EXPECT_EQ(split_command_line(R"("a\\" b)"), (words{R"(a\)", "b"}));
    EXPECT_EQ(split_command_line(R"(a\\\\"b c")"), (words{R"(a\\b c)"}));
    // 2n+1 backslashes and a quote: n backslashes and a literal quote.
    EXPECT_EQ(split_command_line(R"(a\"b c)"), (words{R"(a"b)", "c"}));
    EXPECT_EQ(split_command_line(R"("a\\\" b")"), (words{R"(a\" b)"}));
}

TEST(split_command_line_test, two_quotes_inside_quotes_give_one_literal_quote) {
    EXPECT_EQ(split_command_line(R"("a""b")"), (words{R"(a"b)"}));
    EXPECT_EQ(split_command_line(R"("say ""hi"" now" x)"), (words{R"(say "hi" now)", "x"}));
    // The grouping goes on after the literal quote.
    EXPECT_EQ(split_command_line(R"("a"" b")"), (words{R"(a" b)"}));
    EXPECT_EQ(split_command_line(R"("""")"), (words{R"(")"}));
    // Outside quotes two quotes open and close an empty group.
    EXPECT_EQ(split_command_line(R"(a""b c)"), (words{"ab", "c"}));
}

TEST(quote_command_argument_test, escapes_only_what_splitting_would_change) {
    EXPECT_EQ(quote_command_argument("plain"), "\"plain\"");
    EXPECT_EQ(quote_command_argument(""), "\"\"");
    EXPECT_EQ(quote_command_argument("a b"), "\"a b\"");
    EXPECT_EQ(quote_command_argument(R"(a\b)"), R"("a\b")");
    EXPECT_EQ(quote_command_argument(R"(a"b)"), R"("a\"b")");
    EXPECT_EQ(quote_command_argument(R"(a\"b)"), R"("a\\\"b")");
    EXPECT_EQ(quote_command_argument(R"(end\\)"), R"("end\\\\")");
}

TEST(quote_command_argument_test, awkward_paths_round_trip) {
    const words paths = {
        R"(/home/x/My "best" voices/bin/qavgen)",
        R"(/data/ends in backslashes\\)",
        R"(/data/one\)",
        R"(quote at end")",
        R"("leading quote)",
        "\ttabs\tand  blanks ",
        R"(\\server\share\)",
        R"(mixed \" and \\" and \\\)",
        "",
    };
    std::string line;
    for (const std::string& path : paths) line += quote_command_argument(path) + " ";
    EXPECT_EQ(split_command_line(line), paths);
    for (const std::string& path : paths) EXPECT_EQ(split_command_line(quote_command_argument(path)), words{path});
}

TEST(quote_command_argument_test, random_arguments_round_trip) {
    // Texts drawn from the characters that splitting gives a meaning of its own.
    const std::string alphabet = "ab \t\"\\\\\\";
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        words arguments(random() % 5);
        std::string line;
        for (std::string& argument : arguments) {
            const size_t length = random() % 9;
            for (size_t i = 0; i < length; ++i) argument += alphabet[random() % alphabet.size()];
            line += quote_command_argument(argument) + (random() % 2 ? " " : "\t  ");
        }
        ASSERT_EQ(split_command_line(line), arguments) << "line: [" << line << "]";
    }
}

TEST(quote_short_path_test, quotes_the_folder_and_part_then_one_blank) {
    // Paths have no short form here: the folder keeps its long name.
    EXPECT_EQ(short_path("/opt/Kova Studio/"), "/opt/Kova Studio/");
    EXPECT_EQ(quote_short_path("/opt/Kova Studio/", "bin/qavgen"), "\"/opt/Kova Studio/bin/qavgen\" ");
    EXPECT_EQ(quote_short_path("/voice/Song.DAT", ""), "\"/voice/Song.DAT\" ");
    // Joined without separators, the parts and a word argument still come apart.
    const std::string line = quote_short_path("/a \"b\"/", "bin/qavchk") + quote_short_path("/x\\", "") + "Check";
    EXPECT_EQ(split_command_line(line), (words{"/a \"b\"/bin/qavchk", "/x\\", "Check"}));
}

}  // namespace

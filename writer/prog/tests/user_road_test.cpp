// The way a user goes: a template, a link script, the image builder and the
// image checker make a DAT image; the writer program programs it into the
// simulated chip and verifies it; the chip then holds the deciphered image.
#include "writer_program_fixture.h"

#include "image_header.h"
#include "image_reader.h"
#include "test_image.h"

#include <cstdio>

namespace {

struct road_image {
    std::string template_model;  // the chip model in the template's text header
    std::string level;           // "I" or "II"
    std::string rom_size;        // hexadecimal, as the link script gives it
    int32_t chip_size = 0;
    int32_t voice_bytes = 0x2000;
};

class user_road_test : public writer_program_test {
protected:
    // Builds the DAT image with the programs a user runs; its path.
    std::string build_image(const road_image& shape) {
        const std::string folder = sim.folder();
        const std::string pgm = folder + "/template.pgm";
        const child_result made = run_child(KOVA_MAKE_TEMPLATE,
                                             {pgm, shape.template_model, shape.level, "1000", "100", "200", "80"});
        EXPECT_EQ(made.exit_code, 0) << made.output;

        std::vector<uint8_t> voice(static_cast<size_t>(shape.voice_bytes));
        for (size_t i = 0; i < voice.size(); ++i) voice[i] = static_cast<uint8_t>(i * 29 + i / 251);
        write_file(folder + "/Script.mf0", voice);

        const std::string image = folder + "/voice.dat";
        const std::string script = "%DupFile@=\"" + folder + "/shadow.dat\"\r\n" +  //
                                   "%OutFile@=\"" + image + "\"\r\n" +               //
                                   "%RomSize@=\"" + shape.rom_size + "\"\r\n" +      //
                                   "%AddFile@=\"" + pgm + "\"\r\n" +                 //
                                   "%AddFile@=\"" + folder + "/Script.mf0\"\r\n" +   //
                                   "%SetParm@=\"[FE0]=5A\"\r\n" +                    //
                                   "%CheckSum@=\"Generate\"\r\n";
        write_file(folder + "/result.lns", std::vector<uint8_t>(script.begin(), script.end()));
        const child_result generated = run("qavgen", {folder + "/result.lns", folder + "/QavGen.log", "+w"});
        EXPECT_EQ(generated.exit_code, 0) << generated.output;

        write_file(folder + "/temp.csm", {});
        const child_result checked = run("qavchk", {image, "00" + shape.rom_size, folder + "/temp.csm"});
        EXPECT_EQ(checked.exit_code, 0) << checked.output;
        EXPECT_TRUE(contains(checked.output, "Verify OK.")) << checked.output;
        return image;
    }


    // Programs and verifies the image, then compares the chip with it.
    void program_and_verify(const std::string& writer, const std::string& chip_name, const road_image& shape,
                            bool trimmed) {
        const std::string image = build_image(shape);
        const std::vector<uint8_t> rom = deciphered_rom(image);
        ASSERT_EQ(rom.size(), 0x1000u + static_cast<size_t>(shape.voice_bytes));

        const child_result program = run(writer, {"Program", image, chip_name});
        ASSERT_EQ(program.exit_code, 0) << program.output;
        char range[64];
        std::snprintf(range, sizeof range, "     End of operation [000000:%06zX] at ", rom.size() - 1);
        EXPECT_TRUE(contains(program.output, range)) << program.output;
        EXPECT_EQ(contains(program.output, "Execute Frequecy Adjust"), trimmed);

        const child_result verify = run(writer, {"Verify", image});
        EXPECT_EQ(verify.exit_code, 0) << verify.output;
        EXPECT_TRUE(contains(verify.output, "     Pass Ratio = 100.000000. (0 Errors) \n")) << verify.output;

        const std::vector<uint8_t> memory = sim.memory();
        ASSERT_GE(memory.size(), static_cast<size_t>(shape.chip_size));
        std::vector<uint8_t> programmed(memory.begin(), memory.begin() + static_cast<long>(rom.size()));
        std::vector<uint8_t> expected = rom;
        const size_t L = static_cast<size_t>((rom[0] | rom[1] << 8) & 0x3FFF) * 2;
        if (trimmed) expected[L - 11] = programmed[L - 11];  // the trim code Program chose
        EXPECT_EQ(programmed, expected);
        const std::vector<uint8_t> beyond(memory.begin() + static_cast<long>(rom.size()),
                                          memory.begin() + shape.chip_size);
        EXPECT_EQ(beyond, std::vector<uint8_t>(beyond.size(), 0xFF));
    }
};

TEST_F(user_road_test, a_level_II_image_on_a_3k_chip_is_programmed_trimmed_and_verified) {
    start_writer("KOVA3k10");
    program_and_verify("qav3kwriter", "KOVA3K10", {"KOVA3k10", "II", "8000", 0x8000}, true);
}

TEST_F(user_road_test, a_level_I_image_on_a_chip_of_the_other_series_is_programmed_and_verified) {
    start_writer("KOVA21");
    program_and_verify("qavwriter", "KOVA21", {"KOVA21", "I", "10000", 0x10000}, false);
}

}  // namespace

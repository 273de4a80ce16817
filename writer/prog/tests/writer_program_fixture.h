// A writer-program test: its own simulator, socket and scratch folder, and
// the programs run against it as child processes.
#pragma once

#include "child_process.h"
#include "test_files.h"
#include "test_image.h"
#include "writer_sim_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class writer_program_test : public ::testing::Test {
protected:
    // Starts the simulator with a chip model (or "none") and further options.
    void start_writer(const std::string& chip, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {"--chip", chip});
        ASSERT_TRUE(sim.start(options));
    }
    child_result run(const std::string& program, const std::vector<std::string>& arguments) {
        child_options options;
        options.environment = {sim.environment_entry()};
        return run_child(std::string(KOVA_DIR) + "/bin/" + program, arguments, options);
    }
    // Writes the image into the test's folder; its path.
    std::string save(const test_image& image, const std::string& name = "voice.dat") {
        const std::string path = sim.folder() + "/" + name;
        write_file(path, image.file);
        return path;
    }
    // The chip's bytes [first, first + count).
    std::vector<uint8_t> chip(size_t first, size_t count) {
        const std::vector<uint8_t> memory = sim.memory();
        if (memory.size() < first + count) return {};
        return std::vector<uint8_t>(memory.begin() + first, memory.begin() + first + count);
    }

    writer_sim_process sim;
};


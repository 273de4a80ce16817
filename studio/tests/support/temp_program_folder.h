// A program folder of a test's own, assembled from the build's installation
// (build/kova): setup.ini, Language/, Samples/ and bin/ copied (the programs in bin
// linked, so that they stay the ones the build made), and an empty temp/.
#pragma once

#include <string>

class temp_program_folder {
public:
    // Under the running test's scratch folder (test_folder(), which must not be called again by the test: it
    // empties the folder).
    temp_program_folder();

    // The folder, ending in "/".
    const std::string& path() const { return path_; }
    std::string file(const std::string& relative) const { return path_ + relative; }

    std::string setup_ini() const;
    void write_setup_ini(const std::string& text) const;
    // Sets one key of setup.ini, adding the section or key when missing.
    void set_setup_value(const std::string& section, const std::string& key, const std::string& value) const;

private:
    std::string path_;
};

// The build's installation, ending in "/".
std::string build_program_folder();

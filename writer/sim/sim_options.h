// The writer simulator's command line.
#pragma once

#include "writer_command.h"

#include <cstdint>
#include <set>
#include <string>

// Faults injected on request. Report numbers count the reports of one
// connection from 1; link-test numbers count its link-test reports from 1.
struct sim_faults {
    std::set<int> no_answer;       // these reports get no answer
    std::set<int> bad_echo;        // these link-test reports get a wrong echo
    int reorder_above = 0;         // bursts deeper than this are answered out of order (0: never)
    bool unprogrammable = false;   // programming leaves every bit as it was
    bool read_protected = false;   // read requests are never answered
    bool stay_in_boot_loader = false;  // the start-application command restarts into the boot loader
    bool lost_in_boot_loader = false;  // ... after a long absence (the writer does not come back)
    bool bad_boot_echo = false;        // the boot loader garbles every block it writes
    bool no_version_answer = false;    // the application never answers the version command
    int garbage_from = 0;          // from this report on, answers are random bytes
    int short_from = 0;            // from this report on, answers are short ...
    int short_size = 1;            // ... this many bytes, report id included
    int drop_at = 0;               // this report closes the connection unanswered
    int extra_from = 0;            // from this report on, each answer is sent twice
};

struct sim_options {
    std::string socket_path;
    std::string chip = "KOVA3k10";  // a model name of either series, or "none"
    std::string memory_path;        // the chip's memory lives in this file when given
    std::string log_path;           // one line per connection event and received report
    int version_major = 1;
    int version_minor = 8;
    uint16_t vendor_id = kWriterVendorId;
    uint16_t product_id = kWriterProductId;
    unsigned queue_max = 64;
    int restart_ms = 500;
    int report_delay_us = 0;        // per report, before the answer (1000 models a USB frame)
    bool start_in_boot_loader = false;
    sim_faults faults;
};

// Parses the arguments after the program name; false with a message on error.
bool parse_sim_options(int argc, char** argv, sim_options& options, std::string& error);

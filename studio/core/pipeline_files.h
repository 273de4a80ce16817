// Names of the files the compile pipeline exchanges with its child programs,
// relative to the program folder, and the names built from the project's
// device and trigger mode (the per-chip folder, its mode settings file, its
// image templates and its application note).
#pragma once

#include "device_vocabulary.h"

#include <string>

inline constexpr const char* kScriptFile = "temp/Script.txt";       // encoder script
inline constexpr const char* kTableFile = "temp/Table.txt";         // voice table
inline constexpr const char* kVoiceDataFile = "temp/Script.mf0";    // encoder output
inline constexpr const char* kLinkScriptFile = "temp/result.lns";   // image builder input
inline constexpr const char* kBuilderLogFile = "temp/QavGen.log";   // image builder log
inline constexpr const char* kShadowImageFile = "temp/shadow.dat";  // the builder's duplicate image
inline constexpr const char* kChecksumReportFile = "temp/temp.csm"; // image checker log

inline constexpr const char* kEncoderProgram = "bin/tonepack";
inline constexpr const char* kImageBuilderProgram = "bin/qavgen";
inline constexpr const char* kImageCheckerProgram = "bin/qavchk";

// The chip's mode settings file relative to the program folder: "bin/1x2/1x2.ini".
std::string mode_settings_file(const std::string& device_code, const std::string& mode_code);

// Device code, format digit and mode code ("Y122"): the image template's name
// without its extension, also shown in the voice table.
std::string image_code(const std::string& device_code, int compression_index, const std::string& mode_code);

// The image template's file name: "Y122.pgm".
std::string image_template_name(const std::string& device_code, int compression_index, const std::string& mode_code);
// The image template relative to the program folder: "bin/1x2/Y122.pgm".
std::string image_template_file(const std::string& device_code, int compression_index, const std::string& mode_code);

// The application note of a device in a trigger mode: "Y1x2.pdf".
std::string application_note_name(const std::string& device_code, const std::string& mode_code);
// The application note relative to the program folder: "bin/1x2/Y1x2.pdf".
std::string application_note_file(const std::string& device_code, const std::string& mode_code);

#include "tonepack_run.h"

#include <exception>

#include "tonepack_output.h"
#include "run_failure.h"
#include "script_parser.h"
#include "sound_loading.h"
#include "voice_layout.h"

namespace {

void encode(const std::string& script_path, const std::string& output) {
    std::string error;
    file_identity script_file;
    const auto text = read_regular_file(script_path, script_file, error);
    if (!text) throw run_failure{kTonepackScriptUnreadable, error};
    const script_parse_result parsed = parse_encoder_script(*text);
    if (parsed.error) throw run_failure{kTonepackScriptRefused, describe(*parsed.error)};

    std::vector<file_identity> inputs{script_file};
    check_output_path(output, inputs);  // before the sounds are read
    const loaded_sounds sounds = load_sounds(parsed.script);
    inputs.insert(inputs.end(), sounds.files.begin(), sounds.files.end());
    check_output_path(output, inputs);
    write_output(output, build_voice_data(parsed.script, sounds.samples));
}

}  // namespace

int tonepack_run(const std::vector<std::string>& args, std::ostream& errors) {
    if (args.size() != 2) {
        errors << "usage: tonepack SCRIPT OUTPUT\n";
        return kTonepackUsage;
    }
    int code = kTonepackOk;
    try {
        encode(args[0], args[1]);
    } catch (const run_failure& failure) {
        errors << failure.message << "\n";
        code = failure.code;
    } catch (const std::exception& failure) {
        errors << failure.what() << "\n";
        code = kTonepackInternal;
    }
    if (code != kTonepackOk) remove_stale_output(args[1]);
    return code;
}

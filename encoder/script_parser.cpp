#include "script_parser.h"

#include <map>
#include <string>

namespace {

const std::string kRule = ";" + std::string(79, '-');
constexpr std::string_view kDefineLine = ".Define        FS      = 8000";
constexpr std::string_view kDefaultSilenceLine = ".Silence       DefSil  = ((100 * FS)/1000)";
constexpr std::string_view kRckPrefix = ".Global         $Rck        = ";
constexpr std::string_view kOffsetPrefix = ".Global        $Offset = ";
constexpr std::string_view kEncoderLine = ".Global        $Encoder    = 5 \"EQ01\" 26";
constexpr std::string_view kRampPrefix = ".Global        $RampEn = ";
constexpr std::string_view kLastGroupPrefix = ".Global        $SbtMax = ";
constexpr std::string_view kDefaultSilenceEntry = "   DefSil  (8000) :0";
constexpr uint32_t kMaxMuteMs = 60000;
constexpr uint64_t kMaxRate = 0x7FFFFFFF;  // the WAV header's rate is a signed 32-bit number
constexpr size_t kRateWidth = 8;

struct script_failure {
    script_error error;
};

[[noreturn]] void fail(int line, std::string message) { throw script_failure{{line, std::move(message)}}; }

// A text as it would be typed in the script: tabs shown as \t.
std::string shown(std::string_view text) {
    std::string result;
    for (char c : text) result += c == '\t' ? std::string("\\t") : std::string(1, c);
    return result;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// One line, matched piece by piece from the left.
class line_cursor {
public:
    line_cursor(std::string_view text, int line, std::string kind) : text_(text), line_(line), kind_(std::move(kind)) {}

    void expect(std::string_view piece) {
        if (rest().substr(0, piece.size()) != piece) refuse("expected \"" + shown(piece) + "\"");
        pos_ += piece.size();
    }

    // "I" and four digits.
    std::string item_id() {
        const std::string_view id = rest().substr(0, 5);
        if (id.size() != 5 || id[0] != 'I' || !is_digit(id[1]) || !is_digit(id[2]) || !is_digit(id[3]) ||
            !is_digit(id[4]))
            refuse("expected an item id (I and four digits)");
        pos_ += 5;
        return std::string(id);
    }

    // Decimal digits without leading zeros, from `low` to `high`.
    uint64_t number(uint64_t low, uint64_t high, const std::string& what) {
        size_t n = 0;
        while (n < rest().size() && is_digit(rest()[n])) ++n;
        if (n == 0 || (n > 1 && rest()[0] == '0')) refuse("expected " + what + " in decimal without leading zeros");
        uint64_t value = 0;
        for (size_t i = 0; i < n; ++i) {
            value = value * 10 + static_cast<uint64_t>(rest()[i] - '0');
            if (value > high) break;
        }
        if (value < low || value > high)
            refuse(what + " must be from " + std::to_string(low) + " to " + std::to_string(high));
        pos_ += n;
        return value;
    }

    // Hexadecimal digits, leading zeros allowed, up to 32 bits.
    uint32_t hex_number(const std::string& what) {
        size_t n = 0;
        uint64_t value = 0;
        for (; n < rest().size(); ++n) {
            const char c = rest()[n];
            int digit = 0;
            if (is_digit(c)) digit = c - '0';
            else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else break;
            value = value * 16 + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFF) refuse(what + " does not fit 32 bits");
        }
        if (n == 0) refuse("expected " + what + " in hexadecimal digits");
        pos_ += n;
        return static_cast<uint32_t>(value);
    }

    // "Yes" or "No" between double quotes.
    bool yes_no() {
        if (rest().substr(0, 5) == "\"Yes\"") {
            pos_ += 5;
            return true;
        }
        if (rest().substr(0, 4) == "\"No\"") {
            pos_ += 4;
            return false;
        }
        refuse("expected \"Yes\" or \"No\" in double quotes");
    }

    // Everything up to a double quote that ends the line (the opening quote
    // has been taken).
    std::string quoted_path() {
        const std::string_view r = rest();
        if (r.empty() || r.back() != '"') refuse("expected a path in double quotes ending the line");
        if (r.size() == 1) refuse("empty path");
        pos_ = text_.size();
        return std::string(r.substr(0, r.size() - 1));
    }

    size_t blanks() {
        size_t n = 0;
        while (n < rest().size() && rest()[n] == ' ') ++n;
        pos_ += n;
        return n;
    }

    void end() {
        if (!rest().empty()) refuse("unexpected text \"" + shown(rest()) + "\"");
    }

    std::string_view rest() const { return text_.substr(pos_); }

    [[noreturn]] void refuse(const std::string& why) const {
        fail(line_, "malformed " + kind_ + " at column " + std::to_string(pos_ + 1) + ": " + why);
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int line_;
    std::string kind_;
};

// The script's lines in turn, each checked for its CR LF.
class line_reader {
public:
    explicit line_reader(std::string_view text) : text_(text) {}

    bool at_end() const { return pos_ == text_.size(); }
    int line() const { return line_; }

    std::string_view next(const std::string& expected) {
        ++line_;
        if (at_end()) fail(line_, "the script ends where " + expected + " should follow");
        const size_t lf = text_.find('\n', pos_);
        const size_t stop = lf == std::string_view::npos ? text_.size() : lf;
        std::string_view line = text_.substr(pos_, stop - pos_);
        if (line.find('\0') != std::string_view::npos) fail(line_, "holds a NUL character");
        if (lf == std::string_view::npos || line.empty() || line.back() != '\r')
            fail(line_, "does not end with CR LF");
        line.remove_suffix(1);
        pos_ = lf + 1;
        return line;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 0;
};

bool starts_with(std::string_view text, std::string_view start) { return text.substr(0, start.size()) == start; }

class script_parser {
public:
    explicit script_parser(std::string_view text) : lines_(text) {}

    encoder_script parse() {
        next_exact(kDefineLine, ".Define line");
        next_exact(kRule, "rule");
        next_exact(kDefaultSilenceLine, "DefSil line");
        sounds();
        globals();
        while (!lines_.at_end() || script_.groups.empty()) group();
        check_last_group();
        check_encoder();
        return std::move(script_);
    }

private:
    // The next line, named `kind` in messages.
    line_cursor next_line(const std::string& kind) {
        const std::string_view text = lines_.next("the " + kind);
        return line_cursor(text, lines_.line(), kind);
    }

    void next_exact(std::string_view wanted, const std::string& kind) {
        line_cursor c = next_line(kind);
        c.expect(wanted);
        c.end();
    }

    // The file-list rows, up to the rule after them.
    void sounds() {
        for (;;) {
            const std::string_view line = lines_.next("a sound line or a rule");
            if (line == kRule) return;
            script_sound sound;
            sound.line = lines_.line();
            if (starts_with(line, ".Silence")) {
                line_cursor c(line, sound.line, ".Silence line");
                c.expect(".Silence\t\t     ");
                sound.id = c.item_id();
                c.expect("\t\t= ((");
                sound.mute_ms = static_cast<uint32_t>(c.number(1, kMaxMuteMs, "the mute time"));
                c.expect(" * FS)/1000)");
                c.end();
            } else if (starts_with(line, ".PCM")) {
                sound.kind = sound_kind::pcm;
                sound.path = path_line(line, sound, ".PCM\t\t\t     ", " \t\t= \"", ".PCM line");
            } else if (starts_with(line, ".ADPCM")) {
                sound.kind = sound_kind::adpcm;
                sound.path = path_line(line, sound, ".ADPCM\t\t     ", "\t\t= \"", ".ADPCM line");
            } else if (starts_with(line, ".EQ01")) {
                sound.kind = sound_kind::companded;
                sound.path = path_line(line, sound, ".EQ01\t\t         ", "\t\t= \"", ".EQ01 line");
            } else {
                fail(sound.line, "unknown directive \"" + shown(line.substr(0, line.find_first_of(" \t"))) +
                                     "\" where a sound line or a rule should stand");
            }
            const auto [at, added] = ids_.emplace(sound.id, script_.sounds.size());
            if (!added)
                fail(sound.line, "item " + sound.id + " is defined twice (first on line " +
                                     std::to_string(script_.sounds[at->second].line) + ")");
            script_.sounds.push_back(std::move(sound));
        }
    }

    std::string path_line(std::string_view line, script_sound& sound, std::string_view head, std::string_view middle,
                          const std::string& kind) {
        line_cursor c(line, sound.line, kind);
        c.expect(head);
        sound.id = c.item_id();
        c.expect(middle);
        return c.quoted_path();
    }

    void globals() {
        {
            line_cursor c = next_line("$Rck line");
            c.expect(kRckPrefix);
            if (c.rest() == "10000000") script_.clock_hz = 10000000;
            else if (c.rest() == "8000000") script_.clock_hz = 8000000;
            else c.refuse("expected 10000000 or 8000000");
        }
        {
            line_cursor c = next_line("$Offset line");
            c.expect(kOffsetPrefix);
            script_.offset = c.hex_number("the offset");
            c.expect("h");
            c.end();
        }
        std::string_view line = lines_.next("the $RampEn line");
        if (starts_with(line, ".Global") && line.find("$Encoder") != std::string_view::npos) {
            line_cursor c(line, lines_.line(), "$Encoder line");
            c.expect(kEncoderLine);
            c.end();
            script_.companding = true;
            encoder_line_ = lines_.line();
            line = lines_.next("the $RampEn line");
        }
        {
            line_cursor c(line, lines_.line(), "$RampEn line");
            c.expect(kRampPrefix);
            script_.ramp = c.yes_no();
            c.end();
        }
        {
            line_cursor c = next_line("$SbtMax line");
            last_group_line_ = lines_.line();
            c.expect(kLastGroupPrefix);
            script_.last_group = static_cast<uint32_t>(c.number(1, 0xFFFFFFFF, "the last group"));
            c.end();
        }
        next_exact(kRule, "rule");
    }

    // ".Section[g] " for the group being read.
    std::string section() const { return ".Section[" + std::to_string(script_.groups.size() + 1) + "] "; }

    bool head_line(std::string_view setting, const std::string& kind) {
        line_cursor c = next_line(kind);
        c.expect(section());
        c.expect(setting);
        const bool yes = c.yes_no();
        c.end();
        return yes;
    }

    void group() {
        script_group group;
        group.edge = head_line("$Edge   =\t", ".Section $Edge line");
        group.hold = head_line("$Hold   =\t", ".Section $Hold line");
        group.retrigger = head_line("$ReTrg  =\t", ".Section $ReTrg line");
        next_exact("", "empty line after the group settings");
        const std::string prefix = section() + "$Groups = ";
        for (;;) {
            const std::string_view line = lines_.next(group.entries.empty() ? "a $Groups line" : "a rule");
            if (!group.entries.empty() && line == kRule) break;
            if (!group.entries.empty() && group.entries.front().sound < 0)
                fail(lines_.line(), "an empty group holds the DefSil entry alone");
            line_cursor c(line, lines_.line(), "$Groups line");
            c.expect(prefix);
            if (c.rest() == kDefaultSilenceEntry) {
                if (!group.entries.empty()) fail(lines_.line(), "DefSil stands only in a group without items");
                group.entries.push_back({-1, kSilenceRate, false, lines_.line()});
                continue;
            }
            group.entries.push_back(entry(c));
        }
        script_.groups.push_back(std::move(group));
    }

    script_entry entry(line_cursor& c) {
        script_entry entry;
        entry.line = lines_.line();
        c.expect("   ");
        const std::string id = c.item_id();
        const auto found = ids_.find(id);
        if (found == ids_.end()) fail(entry.line, "item " + id + " is not defined");
        entry.sound = static_cast<int>(found->second);
        const size_t blanks = c.blanks();
        const size_t width = c.rest().find(')') + 1;  // npos + 1 is 0: refused below
        c.expect("(");
        entry.rate = static_cast<uint32_t>(c.number(1, kMaxRate, "the rate"));
        c.expect(")");
        if (width != 0 && blanks != (width < kRateWidth ? kRateWidth - width : 0))
            fail(entry.line, "the rate is not right-aligned in 8 characters");
        c.expect(" :");
        if (c.rest() != "0" && c.rest() != "1") c.refuse("expected the busy flag 0 or 1 ending the line");
        entry.busy = c.rest() == "1";
        if (script_.sounds[entry.sound].kind == sound_kind::silence && entry.rate != kSilenceRate)
            fail(entry.line, "the mute " + id + " plays at (8000)");
        if (rate_divider(script_.clock_hz, entry.rate) == 0)
            fail(entry.line, "the rate " + std::to_string(entry.rate) + " cannot be divided from the " +
                                 std::to_string(script_.clock_hz) + " Hz clock");
        return entry;
    }

    void check_last_group() {
        uint32_t last = 0;
        for (size_t g = 0; g < script_.groups.size(); ++g)
            if (script_.groups[g].entries.front().sound >= 0) last = static_cast<uint32_t>(g + 1);
        if (last != script_.last_group)
            fail(last_group_line_, "$SbtMax is " + std::to_string(script_.last_group) +
                                       (last == 0 ? ", but no group holds an item"
                                                  : ", but the last group with items is " + std::to_string(last)));
    }

    // All compressed sounds take the one format chosen: companded with the
    // $Encoder setting, ADPCM without it.
    void check_encoder() {
        for (const script_sound& sound : script_.sounds) {
            if (script_.companding && sound.kind == sound_kind::adpcm)
                fail(sound.line, ".ADPCM sound in a script with the $Encoder setting (line " +
                                     std::to_string(encoder_line_) + ")");
            if (!script_.companding && sound.kind == sound_kind::companded)
                fail(sound.line, ".EQ01 sound in a script without the $Encoder setting");
        }
    }

    line_reader lines_;
    encoder_script script_;
    std::map<std::string, size_t> ids_;
    int encoder_line_ = 0;
    int last_group_line_ = 0;
};

}  // namespace

std::string describe(const script_error& error) { return "line " + std::to_string(error.line) + ": " + error.message; }

script_parse_result parse_encoder_script(std::string_view text) {
    script_parse_result result;
    try {
        result.script = script_parser(text).parse();
    } catch (const script_failure& failure) {
        result.error = failure.error;
    }
    return result;
}

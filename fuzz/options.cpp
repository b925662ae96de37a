// The builder's command line. The input is the argument list, one argument per line (the first
// line is the program name). Whatever the arguments, parsing writes nothing outside the settings
// record (guard bytes around it), keeps the device path within the device record's room, never
// takes 0 where a value must be at least 1, and reads every number with saturation.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "core/BuilderLog.h"
#include "core/BuilderOptions.h"
#include "shell/Options.h"

namespace {

std::vector<std::string> Arguments(std::string_view text) {
    std::vector<std::string> args;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        args.emplace_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    if (args.empty()) args.emplace_back("TovrexBuilder4");
    return args;
}

// An optional sign right after the option's letter (no blanks skipped), then digits; saturated at
// the 32-bit limits.
int64_t ModelLeadingInt(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        magnitude = std::min<int64_t>(magnitude * 10 + (c - '0'), int64_t{1} << 40);
    }
    return std::clamp<int64_t>(negative ? -magnitude : magnitude, INT32_MIN, INT32_MAX);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::EnterScratchFolder();
    const std::vector<std::string> args =
        Arguments(std::string_view(reinterpret_cast<const char*>(data), size));
    static CBuilderLog log;  // prints "Unknown Argument." to the silenced console
    fuzz::Guarded<BuilderOptions> options;
    // Without entering a -Je folder: the process stays in its scratch folder.
    ParseOptions(args, options.value, log, false);
    AssignFileArguments(args, options.value);

    fuzz::Expect(options.Intact(), "parsing wrote outside the settings record");
    const BuilderOptions& o = options.value;
    fuzz::Expect(o.device.devicePath.size() <= kMaxDevicePathLength,
                 "a device path too long for a record");
    fuzz::Expect(o.uniformity.second != 0, "-q left 0");
    if (!o.fixed.workFolder.empty())
        fuzz::Expect(std::filesystem::path(o.fixed.workFolder).is_absolute(), "a relative -Je folder");
    for (const std::string& arg : args) {
        const char* value = arg.size() > 2 ? arg.c_str() + 2 : "";
        if (ParseLeadingInt(value) != ModelLeadingInt(value))
            fuzz::Finding("the number in '" + arg + "' is not read with saturation");
    }
    return 0;
}

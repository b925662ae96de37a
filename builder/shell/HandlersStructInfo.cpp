// struct_info: the versions of the builder, the controller and the stored sets, in "StructInfo".
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "shell/Handlers.h"

namespace handlers {

namespace {

std::string Line(const char* label, int a, int b) {
    char text[64];
    std::snprintf(text, sizeof text, "%s: %02d.%02d\n", label, a, b);
    return text;
}

std::string Line(const char* label, int a, int b, int c) {
    char text[64];
    std::snprintf(text, sizeof text, "%s: %02d.%02d.%02d\n", label, a, b, c);
    return text;
}

// Writes the whole text to a temporary file beside the target and renames it over the target, so
// a failed write never leaves a half-written or emptied file behind.
bool WriteWhole(const std::filesystem::path& target, const std::string& text) {
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(temporary, target, renamed);
    if (renamed) {
        std::error_code ignored;  // the rename's failure is the result, not the clean-up's
        std::filesystem::remove(temporary, ignored);
    }
    return !renamed;
}

}  // namespace

uint32_t StructInfo(CHandlerOps& ops) {
    const auto app = [&](ParamKind s) { return ops.AppParamVersion(s); };
    const auto kernel = [&](ParamKind s) { return ops.ControllerVersion(s); };
    const auto flash = [&](ParamKind s) { return ops.ParamVersion(s) & 0xFF; };
    using enum ParamKind;
    std::string text;
    if (ops.EnsurePenSet()) {
        text = Line("Builder", app(Hw), app(Sw), app(Pen)) +
               Line("Kernel", kernel(Hw), kernel(Sw), kernel(Pen)) +
               Line("Flash", flash(Hw), flash(Sw), flash(Pen));
    } else {
        text = Line("Builder", app(Hw), app(Sw)) + Line("Kernel", kernel(Hw), kernel(Sw)) +
               Line("Flash", flash(Hw), flash(Sw));
    }
    return WriteWhole(ops.Options().folders.workingFolder + "StructInfo", text) ? 0 : 1;
}

}  // namespace handlers

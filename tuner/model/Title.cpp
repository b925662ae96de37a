#include "model/Title.h"

#include <cstdio>
#include <vector>

namespace tuner {

std::string BaseTitle() {
    return std::string(kToolName) + " " + kToolVersion + "(" + kToolBuildDate + ")";
}

Titles BuildTitles(const IdentityTexts& texts, const ChannelInfo& channels) {
    Titles titles;
    titles.base = BaseTitle();
    // The controller's texts are arguments, never part of the format.
    auto print = [&](char* out, std::size_t size) {
        return std::snprintf(
            out, size, "%s ( M:%s (%s), V:%s, T:%d, R:%d, Ker:%02d.%02d.%02d%02d%02d )",
            titles.base.c_str(), texts.modelName.c_str(), texts.modelSubName.c_str(),
            texts.firmwareVersion.c_str(), static_cast<int>(channels.txCount),
            static_cast<int>(channels.rxCount), channels.kernelMajor, channels.kernelMinor,
            channels.kernelBuildDate[0], channels.kernelBuildDate[1], channels.kernelBuildDate[2]);
    };
    const int length = print(nullptr, 0);
    if (length > 0) {
        std::vector<char> text(static_cast<std::size_t>(length) + 1);
        print(text.data(), text.size());
        titles.full.assign(text.data(), static_cast<std::size_t>(length));
    }
    return titles;
}

}  // namespace tuner

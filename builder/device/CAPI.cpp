#include "device/CAPI.h"

#include <array>
#include <cstring>

int CAPI::QueryText(std::string& text, TextGetter getter) {
    text = "N/A";
    if (host_ == nullptr || host_->Handle() == nullptr || getter == nullptr) return 0;
    std::array<char, kDevTextSize> buffer{};
    if (!getter(host_->Handle(), buffer.data(), buffer.size())) return 0;
    // A library that fills the whole buffer leaves no terminating zero: never scan past it.
    text.assign(buffer.data(), strnlen(buffer.data(), buffer.size()));
    return 1;
}

int CAPI::GetModelName(std::string& text) {
    return QueryText(text, host_ ? host_->Dev().getModelName : nullptr);
}

int CAPI::GetTypeName(std::string& text) {
    return QueryText(text, host_ ? host_->Dev().getTypeName : nullptr);
}

int CAPI::GetVersion(std::string& text) {
    return QueryText(text, host_ ? host_->Dev().getVersionText : nullptr);
}

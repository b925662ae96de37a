#include "chips/CSlave.h"

void CSlave::SaveRegSection(CParamFile&, std::string_view, std::string_view,
                            std::span<const uint8_t>) {}

bool CSlave::LoadRegSection(CParamFile&, std::string_view, std::string_view, std::span<uint8_t>) {
    return true;
}

#include "model/ImageDataTypes.h"

namespace tuner::image {

const std::vector<DataType>& AllDataTypes() {
    static const std::vector<DataType> types{
        {DataKind::kRawCal, "Raw (Cal)", 0x4004, true, true, false},
        {DataKind::kRawNoCal, "Raw (NoCal)", 0x4805, true, true, false},
        {DataKind::kTouchSignal, "Touch Signal", 0x4801, false, false, false},
        {DataKind::kTouchPercent, "Touch %", 0x4004, false, true, false},
        {DataKind::kAfePercent, "AFE AD %", 0x4020, false, false, true},
        {DataKind::kAdcPercent, "ADC AD %", 0x4010, false, false, true},
        {DataKind::kCooked, "Cooked Data", 0x4008, false, true, false},
        {DataKind::kUniformityCooked, "Unifor Cook", 0x4000, false, false, false},
        {DataKind::kUniformity, "Uniformity", 0x4000, false, false, false},
    };
    return types;
}

std::vector<DataType> OfferedDataTypes(uint8_t kernelMajor, uint8_t kernelMinor) {
    const bool uncalibrated = kernelMajor > 5 || (kernelMajor == 5 && kernelMinor > 113);
    std::vector<DataType> offered;
    for (const DataType& type : AllDataTypes())
        if (type.kind != DataKind::kRawNoCal || uncalibrated) offered.push_back(type);
    return offered;
}

const DataType* FindDataType(std::string_view text) {
    for (const DataType& type : AllDataTypes())
        if (type.text == text) return &type;
    return nullptr;
}

}  // namespace tuner::image

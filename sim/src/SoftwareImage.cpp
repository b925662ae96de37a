// The factory software parameter image: the touch algorithm settings a controller leaves the
// factory with. Every value lies within the range the builder's text file allows, so a dumped
// software text file loads back without corrections.
#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "Images.h"

namespace sim {
namespace {

struct Field {
    int offset;
    int width;  // 1 or 2 bytes
    int value;  // stored in the field's width (negative values as two's complement)
};

void apply(Bytes& image, std::initializer_list<Field> fields, int base = 0) {
    for (const Field& f : fields) {
        const int at = base + f.offset;
        image[at] = static_cast<uint8_t>(f.value);
        if (f.width == 2) image[at + 1] = static_cast<uint8_t>(f.value >> 8);
    }
}

void text(Bytes& image, int offset, int width, const char* value) {
    std::fill(image.begin() + offset, image.begin() + offset + width, 0);
    std::memcpy(image.data() + offset, value, std::min<std::size_t>(std::strlen(value), width));
}

constexpr uint16_t kCtrlWords[3] = {0x401A, 0x0228, 0x0200};

// One threshold mode block (144 bytes).
void thresholdMode(Bytes& image, int base) {
    apply(image,
          {{0, 2, kCtrlWords[0]},
           {2, 2, kCtrlWords[1]},
           {4, 2, kCtrlWords[2]},
           {10, 2, 60},
           {12, 2, 40},
           {14, 2, 60},
           {16, 2, 1000},
           {18, 2, 20},
           {20, 2, 3000},
           {22, 2, 200},
           {24, 2, 500},
           {26, 2, 0},
           {28, 2, 0},
           {30, 2, 100},
           {32, 2, 350},
           {34, 2, 150},
           {36, 2, 120},
           {38, 2, 1000},
           {48, 2, 600},
           {68, 1, 1},
           {69, 1, 25},
           {70, 1, 25},
           {71, 1, 40},
           {72, 1, 0},
           {73, 1, 250},
           {74, 1, 2},
           {75, 1, 0},
           {76, 1, 250},
           {77, 1, 0},
           {78, 1, 0},
           {79, 1, 0},
           {82, 1, 0},
           {84, 1, 26},
           {85, 1, 20},
           {86, 1, 50},
           {87, 1, 5},
           {88, 1, 1},
           {89, 1, 1},
           {100, 1, 26},
           {101, 1, 20},
           {102, 1, 50},
           {103, 1, 3},
           {104, 1, 1},
           {105, 1, 1},
           {116, 1, 10},
           {117, 1, 20},
           {118, 1, 20},
           {119, 1, 35},
           {120, 1, 50}},
          base);
}

// The mode's water settings (eight bytes outside its block).
void modeWater(Bytes& image, int base) {
    apply(image,
          {{0, 1, 156},
           {1, 1, 4},
           {2, 1, 0},
           {3, 1, 254},
           {4, 1, 50},
           {5, 1, 0},
           {6, 1, 1},
           {7, 1, 7}},
          base);
}

void generalSettings(Bytes& image) {
    apply(image, {{10, 2, kCtrlWords[0]},
                  {12, 2, kCtrlWords[1]},
                  {14, 2, kCtrlWords[2]},
                  {16, 2, 0},
                  {20, 2, 0},
                  {40, 2, 0},
                  {102, 2, 2000},
                  {104, 2, 70},
                  {108, 2, 600},
                  {112, 2, 3000},
                  {114, 2, 1500},
                  {116, 2, 250},
                  {118, 2, 3000},
                  {120, 2, 300},
                  {122, 2, 0},
                  {124, 2, 4095},
                  {126, 2, 0},
                  {128, 2, 4095},
                  {130, 2, 0},
                  {132, 2, 0},
                  {134, 2, 0},
                  {160, 1, 6},
                  {162, 1, 30},
                  {163, 1, 50},
                  {164, 1, 50},
                  {165, 1, 100},
                  {166, 1, 10},
                  {167, 1, 7},
                  {168, 1, 0},
                  {169, 1, 1},
                  {170, 1, 1},
                  {171, 1, 2},
                  {172, 1, 2},
                  {173, 1, 2},
                  {174, 1, 2},
                  {175, 1, 1},
                  {176, 1, 2},
                  {177, 1, 3},
                  {178, 1, 3},
                  {179, 1, 3},
                  {180, 1, 10},
                  {181, 1, 2},
                  {182, 1, 2},
                  {183, 1, 5},
                  {184, 1, 0},
                  {185, 1, 0},
                  {188, 1, 10},
                  {189, 1, 0},
                  {190, 1, 5},
                  {191, 1, 0},
                  {192, 1, 15},
                  {193, 1, 0},
                  {195, 1, 4},
                  {196, 1, 7},
                  {197, 1, 16},
                  {198, 1, 3},
                  {199, 1, 0},
                  {200, 1, 0},
                  {201, 1, 0},
                  {202, 1, 0},
                  {203, 1, 0},
                  {204, 1, -2},
                  {205, 1, 200},
                  {206, 1, 100},
                  {207, 1, 0},
                  {208, 1, 25},
                  {209, 1, 1},
                  {210, 1, 0},
                  {211, 1, 0},
                  {212, 1, 0},
                  {213, 1, 0},
                  {214, 1, 0},
                  {215, 1, 0},
                  {216, 1, 0}});
}

// Passive stylus, filter and edge compensation settings, noise thresholds.
void trackingSettings(Bytes& image) {
    apply(image, {{662, 2, 100}, {664, 2, 0},  {682, 1, 30},  {683, 1, 40},    {684, 1, 50},
                  {685, 1, 5},   {686, 1, 16}, {687, 1, 1},   {688, 1, 10},    {744, 2, 200},
                  {746, 2, 10},  {748, 2, 0},  {750, 2, 1},   {752, 2, 2},     {754, 2, 4},
                  {756, 2, 0},   {764, 1, 30}, {765, 1, 28},  {766, 1, 22},    {767, 1, 27},
                  {768, 1, 4},   {769, 1, 30}, {770, 1, 1},   {771, 1, 16},    {800, 1, 100},
                  {801, 1, 30},  {806, 1, 0},  {1206, 2, 80}, {1208, 2, 3000}, {1230, 1, 1}});
    for (int i = 0; i < 4; ++i) {
        apply(image, {{784 + i, 1, 4}, {788 + i, 1, 6}, {802 + i, 1, 0}});
    }
    for (int i = 0; i < 8; ++i) apply(image, {{792 + i, 1, 0}});
    for (int f = 0; f < 5; ++f) apply(image, {{816 + 2 * f, 2, 250}, {826 + 2 * f, 2, 250}});
}

// USB, power and interface settings.
void interfaceSettings(Bytes& image) {
    apply(image,
          {{1036, 2, 0x0001}, {1038, 2, 0},    {1040, 1, 0xC2}, {1041, 1, 0},     {1042, 2, 0},
           {1068, 2, 20},     {1070, 2, 0},    {1072, 2, 0},    {1074, 1, 0},     {1076, 1, 20},
           {1077, 1, 10},     {1078, 1, 2},    {1079, 1, 2},    {1100, 2, 1152},  {1102, 1, 0x07},
           {1103, 1, 0x01},   {1104, 1, 0xDD}, {1105, 1, 0xDD}, {1106, 1, 0},     {1107, 1, 40},
           {1108, 1, 40},     {1109, 1, 4},    {1110, 1, 4},    {1112, 2, 0x00A0}});
    for (int w = 0; w < 4; ++w) {
        apply(image, {{1080 + w, 1, 0}, {1084 + 2 * w, 2, 0}, {1092 + w, 1, 0}, {1096 + w, 1, 10}});
    }
    for (int i = 0; i < 12; ++i) apply(image, {{1246 + 2 * i, 2, 0}});
}

// The coordinate range the controller reports (see Firmware::reportInfo) decides the scale of
// the calibration corners: class 0 up to 4095, 1 up to 8191, 2 above.
constexpr int kReportedMaximum = 4095;
int rangeClass(int maximum) {
    return maximum > 0x1FFF ? 2 : maximum > 0x0FFF ? 1 : 0;
}

void calibration(Bytes& image) {
    const int c = rangeClass(kReportedMaximum);
    const int low = 512 << c, high = 3584 << c;
    for (int set = 0; set < 3; ++set) {
        // LLX, LLY, ULX, ULY, URX, URY, LRX, LRY
        apply(image,
              {{0, 2, low},
               {2, 2, high},
               {4, 2, low},
               {6, 2, low},
               {8, 2, high},
               {10, 2, low},
               {12, 2, high},
               {14, 2, high}},
              696 + 16 * set);
    }
    for (int area = 0; area < 5; ++area) {
        apply(image, {{0, 2, 0}, {2, 2, 0}, {4, 2, 0}, {6, 2, 0}, {30, 1, 0}, {31, 1, 0}},
              836 + 40 * area);
    }
}

}  // namespace

Bytes factorySoftware(const Profile& p) {
    Bytes image = emptyImage(kSoftware, p.swVersion);
    text(image, 42, 4, "GXXX");
    text(image, 46, 14, "99");
    text(image, 60, 8, "K7PXXX");
    generalSettings(image);
    for (int t = 0; t < 3; ++t) {
        thresholdMode(image, 230 + 144 * t);
        modeWater(image, 1134 + 30 * t);
    }
    trackingSettings(image);
    interfaceSettings(image);
    calibration(image);
    renewImageChecksum(image);
    return image;
}

}  // namespace sim
